// The SVG writer on display lists built by hand: where things land once the
// paper's y axis is turned over, which layer and class each entity gets, how
// block uses map their symbols, and that any text stays well-formed XML.
#include "render/svg_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "render/svg_text.h"
#include "render/walk.h"
#include "tests/support/mini_xml.h"

namespace {

using namespace render;
using mini_xml::Element;

class Builder {
 public:
  Builder() {
    list.styles.push_back({{1, 2, 3}, 0, {}});
    list.styles.push_back({{255, 0, 0}, 0.5, {3, 1}});
    list.paper = {-210, -148.5, 210, 148.5};
    list.bounds = list.paper;
    for (int i = 0; i < 256; ++i) {
      list.layers.push_back({"L" + std::to_string(i / 16) + "-" + std::to_string(i % 16), {}});
    }
    for (int g = 0; g < 16; ++g) list.layerGroups.push_back({"G" + std::to_string(g), {}});
  }
  void Add(ItemKind kind, std::vector<Part> parts, int group = 0, int layer = 0,
           std::vector<Item>* into = nullptr) {
    const Item item{kind, static_cast<std::uint16_t>(group), static_cast<std::uint16_t>(layer),
                    static_cast<std::uint32_t>(list.parts.size()),
                    static_cast<std::uint32_t>(parts.size())};
    list.parts.insert(list.parts.end(), parts.begin(), parts.end());
    (into ? *into : list.items).push_back(item);
  }
  Part Text(const std::string& characters, int newType, std::uint32_t style = 0) {
    TextShape text;
    text.start = {5, 7};
    text.height = 4;
    text.fontName = "ＭＳ 明朝";
    text.newType = newType;
    double offset = 0;
    for (char c : characters) {
      text.glyphs.push_back({std::string(1, c), offset, 1, true});
      offset += 1;
    }
    list.texts.push_back(text);
    return {ShapeKind::kText, style, static_cast<std::uint32_t>(list.texts.size() - 1)};
  }
  Part Line(Point a, Point b, std::uint32_t style = 0) {
    list.lines.push_back({a, b});
    return {ShapeKind::kLine, style, static_cast<std::uint32_t>(list.lines.size() - 1)};
  }
  DisplayList list;
};

Element Write(const DisplayList& list, bool mark) {
  std::ostringstream out;
  SvgOptions options;
  options.mark = mark;
  if (mark) options.legend = "変換対象 3 件 (文字種2: 2, 文字種5: 1)";
  options.title = "A & <B>";
  WriteSvg(list, out, options);
  return mini_xml::Parse(out.str());
}

// The entities at the top level: children of the layers within the groups.
std::vector<const Element*> TopLevel(const Element& root) {
  std::vector<const Element*> items;
  for (const Element& group : root.children) {
    if (group.Attribute("inkscape:groupmode") != "layer") continue;
    for (const Element& layer : group.children) {
      EXPECT_EQ(layer.Attribute("inkscape:groupmode"), "layer");
      for (const Element& item : layer.children) items.push_back(&item);
    }
  }
  return items;
}

void Collect(const Element& e, const std::string& cls, std::vector<const Element*>& found) {
  if (e.HasClass(cls)) found.push_back(&e);
  for (const Element& child : e.children) Collect(child, cls, found);
}
std::vector<const Element*> WithClass(const Element& root, const std::string& cls) {
  std::vector<const Element*> found;
  Collect(root, cls, found);
  return found;
}

std::vector<double> NumbersIn(std::string text) {
  for (char& c : text) {
    if (c == '(' || c == ')' || c == ',' || std::isalpha(static_cast<unsigned char>(c))) c = ' ';
  }
  std::istringstream in(text);
  std::vector<double> numbers;
  for (double n; in >> n;) numbers.push_back(n);
  return numbers;
}

TEST(SvgWriter, LayersClassesAndStatesAsStored) {
  Builder b;
  b.list.layers[16 + 3].state = LayerState::kHidden;
  b.list.layers[2].state = LayerState::kShownOnly;
  b.Add(ItemKind::kLine, {b.Line({0, 0}, {10, 20}, 1)}, 1, 3);
  b.Add(ItemKind::kLine, {b.Line({1, 1}, {2, 2})});
  b.Add(ItemKind::kDimension, {b.Line({0, 0}, {30, 0}), b.Text("30", 0)}, 0, 2);
  b.Add(ItemKind::kText, {b.Text("ab", 0)});
  const Element root = Write(b.list, false);

  // The paper as the view, its top edge at the document's top.
  EXPECT_EQ(NumbersIn(root.Attribute("viewBox")), (std::vector<double>{-210, -148.5, 420, 297}));
  EXPECT_EQ(root.Attribute("width"), "420mm");
  // Groups and layers in order, each named, only those with items.
  std::vector<std::string> labels;
  for (const Element& group : root.children) {
    if (group.Attribute("inkscape:groupmode") != "layer") continue;
    labels.push_back(group.Attribute("inkscape:label"));
    for (const Element& layer : group.children) labels.push_back(layer.Attribute("inkscape:label"));
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"G0", "L0-0", "L0-2", "G1", "L1-3"}));
  const std::vector<const Element*> items = TopLevel(root);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_TRUE(items[0]->HasClass("jww-line"));
  EXPECT_TRUE(items[1]->HasClass("jww-text"));
  // A dimension is one group; its value text is no top-level text.
  EXPECT_TRUE(items[2]->HasClass("jww-dimension"));
  EXPECT_EQ(items[2]->name, "g");
  EXPECT_EQ(items[2]->children.size(), 2u);
  EXPECT_FALSE(items[2]->children[1].HasClass("jww-text"));
  // Shown only: greyed; hidden: kept, not displayed.
  EXPECT_EQ(items[2]->children[0].Attribute("stroke"), "#b0b0b0");
  EXPECT_EQ(items[0]->Attribute("stroke"), "#010203");
  EXPECT_EQ(items[3]->Attribute("stroke"), "#ff0000");
  const Element& hiddenLayer = root.children.back().children.back();
  EXPECT_EQ(hiddenLayer.Attribute("style"), "display:none");
  // y turned over: paper (10, 20) is document (10, -20).
  EXPECT_EQ(items[3]->Attribute("y2"), "-20");
  EXPECT_TRUE(WithClass(root, "jww-retype").empty());
  EXPECT_EQ(root.children[0].name, "title");
  EXPECT_EQ(root.children[0].text, "A & <B>");
}

TEST(SvgWriter, BlockUsesMapTheirSymbolsAsTheDrawingDoes) {
  Builder b;
  b.list.symbols.push_back({"扉", 7, {}});
  b.Add(ItemKind::kLine, {b.Line({0, 0}, {1, 0})}, 0, 0, &b.list.symbols[0].items);
  b.list.uses.push_back({0, {10, 20}, 2, 3, std::numbers::pi / 6});
  b.Add(ItemKind::kBlock, {{ShapeKind::kUse, 0, 0}});
  const Element root = Write(b.list, false);

  const std::vector<const Element*> symbols = WithClass(root, "jww-symbol");
  ASSERT_EQ(symbols.size(), 1u);
  EXPECT_EQ(symbols[0]->name, "symbol");
  EXPECT_EQ(symbols[0]->Attribute("data-number"), "7");
  const std::vector<const Element*> items = TopLevel(root);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->name, "use");
  EXPECT_TRUE(items[0]->HasClass("jww-block"));
  EXPECT_EQ(items[0]->Attribute("xlink:href"), "#" + symbols[0]->Attribute("id"));
  // The document's matrix, applied to symbol points in the document's frame,
  // lands where the use's transform puts them on the paper.
  const std::vector<double> m = NumbersIn(items[0]->Attribute("transform"));
  ASSERT_EQ(m.size(), 6u);
  const Affine paper = Affine::Of(b.list.uses[0]);
  for (const Point local : {Point{1, 0}, Point{0, 1}, Point{-2, 5}}) {
    const Point want = paper.Apply(local);
    const double x = local.x, y = -local.y;
    EXPECT_NEAR(m[0] * x + m[2] * y + m[4], want.x, 1e-3);
    EXPECT_NEAR(-(m[1] * x + m[3] * y + m[5]), want.y, 1e-3);
  }
}

TEST(SvgWriter, MarksRetypedTextsOncePerDefinitionWithALegend) {
  Builder b;
  b.list.symbols.push_back({"S", 1, {}});
  b.Add(ItemKind::kText, {b.Text("in", 5)}, 0, 0, &b.list.symbols[0].items);
  b.list.uses.push_back({0, {0, 0}, 1, 1, 0});
  b.list.uses.push_back({0, {9, 0}, 1, 1, 0});
  b.Add(ItemKind::kBlock, {{ShapeKind::kUse, 0, 0}});
  b.Add(ItemKind::kBlock, {{ShapeKind::kUse, 0, 1}}, 0, 1);
  b.list.layers[1].state = LayerState::kShownOnly;  // a greyed copy of the symbol
  b.Add(ItemKind::kText, {b.Text("top", 2)});
  b.Add(ItemKind::kText, {b.Text("kept", 0)});
  b.Add(ItemKind::kDimension, {b.Line({0, 0}, {1, 0}), b.Text("1", 2)});

  const Element plain = Write(b.list, false);
  EXPECT_TRUE(WithClass(plain, "jww-retype").empty());
  EXPECT_TRUE(WithClass(plain, "jww-legend").empty());

  const Element root = Write(b.list, true);
  const std::vector<const Element*> marked = WithClass(root, "jww-retype");
  std::vector<std::string> types;
  for (const Element* text : marked) {
    EXPECT_EQ(text->name, "text");
    EXPECT_EQ(text->Attribute("fill"), "#e01080");
    types.push_back(text->Attribute("data-new-type"));
  }
  // The definition's text, its greyed copy, the top-level text and the
  // dimension's value.
  EXPECT_EQ(types, (std::vector<std::string>{"5", "5", "2", "2"}));
  const std::vector<const Element*> legend = WithClass(root, "jww-legend");
  ASSERT_EQ(legend.size(), 1u);
  EXPECT_EQ(legend[0]->AllText(), "変換対象 3 件 (文字種2: 2, 文字種5: 1)");
  // The legend lies inside the view, under the paper.
  const std::vector<double> view = NumbersIn(root.Attribute("viewBox"));
  const double legendY = std::stod(legend[0]->children[0].Attribute("y"));
  EXPECT_GT(legendY, 148.5);
  EXPECT_LT(legendY, view[1] + view[3]);
}

TEST(SvgWriter, TextsStayWellFormedAndOneCharacterPerCell) {
  Builder b;
  b.list.layers[0].name = "\"<名前>\" & 'x'";
  b.list.symbols.push_back({"a]]>b\x01", 1, {}});
  b.list.texts.push_back({});
  TextShape& text = b.list.texts.back();
  text.start = {0, 0};
  text.height = 4;
  text.angle = std::numbers::pi / 2;
  text.fontName = "Font'}<";
  const std::vector<std::string> characters = {"<",  "&",        "\x01", "\xff",
                                               "図", "\xe5\x9b", " ",    "]"};
  for (std::size_t i = 0; i < characters.size(); ++i) {
    text.glyphs.push_back({characters[i], 2.0 * i, 2, false});
  }
  b.Add(ItemKind::kText, {{ShapeKind::kText, 0, 0}});
  std::ostringstream out;
  WriteSvg(b.list, out, {});
  Element root;
  ASSERT_NO_THROW(root = mini_xml::Parse(out.str())) << out.str();

  const std::vector<const Element*> items = TopLevel(root);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->text, "<&\uFFFD\uFFFD図\uFFFD ]");
  EXPECT_EQ(NumbersIn(items[0]->Attribute("x")).size(), characters.size());
  // Cells 2 mm wide at a height of 4: the em of a full-width character
  // squeezed to half, so the offsets are doubled before the squeeze.
  EXPECT_EQ(NumbersIn(items[0]->Attribute("x"))[1], 4);
  // Turned a quarter counter-clockwise on the paper: the baseline runs up
  // the document.
  const std::vector<double> m = NumbersIn(items[0]->Attribute("transform"));
  EXPECT_NEAR(m[0], 0, 1e-9);
  EXPECT_NEAR(m[1], -0.5, 1e-9);
}

TEST(SvgWriter, ArcsRunCounterClockwiseOnThePaper) {
  Builder b;
  b.list.arcs.push_back({{0, 0}, 10, 1, 0, 0, std::numbers::pi / 2, false});
  b.list.arcs.push_back({{0, 0}, 10, 0.5, std::numbers::pi / 2, 0, 0, true});
  b.Add(ItemKind::kArc, {{ShapeKind::kArc, 0, 0}});
  b.Add(ItemKind::kArc, {{ShapeKind::kArc, 0, 1}});
  const Element root = Write(b.list, false);
  const std::vector<const Element*> items = TopLevel(root);
  ASSERT_EQ(items.size(), 2u);
  // From (10, 0) through 45 degrees to (0, 10) on the paper; sweep flag 0
  // is counter-clockwise once y points down.
  const std::vector<double> d = NumbersIn(items[0]->Attribute("d"));
  ASSERT_EQ(d.size(), 16u);
  EXPECT_EQ(d[0], 10);
  EXPECT_EQ(d[1], 0);
  EXPECT_NEAR(d[7], 7.0711, 1e-4);
  EXPECT_NEAR(d[8], -7.0711, 1e-4);
  EXPECT_EQ(d[6], 0);
  EXPECT_NEAR(d[14], 0, 1e-9);
  EXPECT_EQ(d[15], -10);
  EXPECT_EQ(items[1]->name, "ellipse");
  EXPECT_EQ(items[1]->Attribute("ry"), "5");
  EXPECT_EQ(NumbersIn(items[1]->Attribute("transform"))[0], -90);
}

TEST(SvgText, NumbersShortAndBounded) {
  const auto text = [](double v) {
    std::string out;
    AppendNumber(out, v);
    return out;
  };
  EXPECT_EQ(text(12.5), "12.5");
  EXPECT_EQ(text(-3), "-3");
  EXPECT_EQ(text(-0.00001), "0");
  EXPECT_EQ(text(0.123456), "0.1235");
  EXPECT_EQ(text(-7.0505), "-7.0505");
  EXPECT_EQ(text(2.05), "2.05");
  EXPECT_EQ(text(1e300), "1000000000000");
  EXPECT_EQ(text(std::nan("")), "0");
}

}  // namespace
