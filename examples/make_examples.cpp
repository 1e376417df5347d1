// Builds the example drawing examples/PLAN.jww: a small floor plan whose
// texts take every path of the retyping rule. Under zero tolerances:
//   - free-size texts whose sizes and colour equal a text type (they convert),
//   - free-size texts of other sizes, and of a type's sizes but another
//     colour (they stay free size unless that type accepts any colour),
//   - texts that already have a type,
//   - a free-size text whose text type field carries a q part (10000),
//   - dimensions whose value texts do and do not match a type,
//   - a block definition with free-size texts and a dimension.
// Texts are Shift-JIS bytes, as Jw_cad writes them in version 600.
//
// Usage: make-examples OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/jww_writer.h"
#include "drawing/jwwunit.h"

namespace {

using jww::JwwString;

constexpr std::int32_t kVersion = 600;
constexpr double kScale = 100;  // 1:100: a paper millimetre is 100 drawing units

// Shift-JIS texts.
const char kMemo[] =
    "Quillon \x97\xe1\x91\xe8 \x95\xbd\x96\xca\x90\x7d (\x8f\x6b\x8e\xda 1/100)";  // Quillon 例題
                                                                                   // 平面図 (縮尺
                                                                                   // 1/100)
const char kFont[] = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

jww::TEntAttr Attr(std::uint16_t colour, std::uint8_t style = 1) {
  jww::TEntAttr a;
  a.penStyle = style;
  a.penColour = colour;
  return a;
}

struct TextSize {
  double width, height, spacing;
  std::uint16_t colour;
};

// Rough extent of a Shift-JIS text on the drawing: a double-byte character
// is one width wide, a single-byte one half.
double TextLength(const std::string& sjis, const TextSize& size) {
  double halves = 0;
  int characters = 0;
  for (std::size_t i = 0; i < sjis.size(); ++i, ++characters) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    halves += lead ? 2 : 1;
    if (lead) ++i;
  }
  return (halves * size.width / 2 + (characters - 1) * size.spacing) * kScale;
}

jww::TEntMoji MakeText(double x, double y, std::uint32_t textType, const TextSize& size,
                       const std::string& sjis) {
  jww::TEntMoji t;
  t.attr = Attr(size.colour);
  t.startX = x;
  t.startY = y;
  t.endX = x + TextLength(sjis, size);
  t.endY = y;
  t.textType = textType;
  t.width = size.width;
  t.height = size.height;
  t.spacing = size.spacing;
  t.angle = 0;
  t.fontName = JwwString::narrow(kFont);
  t.text = JwwString::narrow(sjis);
  return t;
}

jww::TEntSen MakeLine(double x1, double y1, double x2, double y2, std::uint16_t colour = 2) {
  jww::TEntSen l;
  l.attr = Attr(colour);
  l.startX = x1;
  l.startY = y1;
  l.endX = x2;
  l.endY = y2;
  return l;
}

jww::TEntTen MakePoint(double x, double y) {
  jww::TEntTen p;
  p.attr = Attr(2);
  p.x = x;
  p.y = y;
  return p;
}

// Appends records to one entity list, keeping its order list.
class EntityList {
 public:
  explicit EntityList(jww::EntityTables& tables) : t_(tables) {}

  void Line(double x1, double y1, double x2, double y2) {
    Add(t_.lines, jww::kLine, MakeLine(x1, y1, x2, y2));
  }
  void Rectangle(double x1, double y1, double x2, double y2) {
    Line(x1, y1, x2, y1);
    Line(x2, y1, x2, y2);
    Line(x2, y2, x1, y2);
    Line(x1, y2, x1, y1);
  }
  // A quarter circle from angle `start` (radians), such as a door swing.
  void QuarterArc(double cx, double cy, double radius, double start) {
    jww::TEntEnko a;
    a.attr = Attr(2);
    a.centreX = cx;
    a.centreY = cy;
    a.radius = radius;
    a.startAngle = start;
    a.arcAngle = std::numbers::pi / 2;
    a.flatness = 1;
    Add(t_.arcs, jww::kArc, a);
  }
  void Point(double x, double y) { Add(t_.points, jww::kPoint, MakePoint(x, y)); }
  void Text(double x, double y, std::uint32_t textType, const TextSize& size,
            const std::string& sjis) {
    Add(t_.texts, jww::kText, MakeText(x, y, textType, size, sjis));
  }
  // A horizontal dimension from (x1, y) to (x2, y) with its value text above.
  void Dimension(double x1, double x2, double y, double lineY, const TextSize& size,
                 const std::string& value) {
    jww::TEntSunpo d;
    d.attr = Attr(1);
    d.line = MakeLine(x1, lineY, x2, lineY, 1);
    const double middle = (x1 + x2) / 2 - TextLength(value, size) / 2;
    d.valueText = MakeText(middle, lineY + 100, 0, size, value);
    d.auxLine1 = MakeLine(x1, y, x1, lineY, 1);
    d.auxLine2 = MakeLine(x2, y, x2, lineY, 1);
    d.point1 = MakePoint(x1, lineY);
    d.point2 = MakePoint(x2, lineY);
    d.auxPoint1 = MakePoint(x1, y);
    d.auxPoint2 = MakePoint(x2, y);
    Add(t_.dimensions, jww::kDimension, d);
  }
  // A filled square, such as a column.
  void Square(double x, double y, double side) {
    jww::TEntSolid s;
    s.attr = Attr(2);
    s.startX = x;
    s.startY = y;
    s.endX = x + side;
    s.endY = y;
    s.point2X = x + side;
    s.point2Y = y + side;
    s.point3X = x;
    s.point3Y = y + side;
    Add(t_.solids, jww::kSolid, s);
  }
  void Insert(double x, double y, std::uint32_t definition) {
    jww::TEntBlock b;
    b.attr = Attr(2);
    b.originX = x;
    b.originY = y;
    b.scaleX = 1;
    b.scaleY = 1;
    b.definitionNumber = definition;
    Add(t_.blockInserts, jww::kBlockInsert, b);
  }

 private:
  template <class Rec>
  void Add(std::vector<Rec>& table, std::int32_t kind, const Rec& record) {
    table.push_back(record);
    t_.order.push_back({kind, static_cast<std::int32_t>(table.size() - 1)});
  }

  jww::EntityTables& t_;
};

// The text types 1..10, all different in size.
constexpr TextSize kTypes[jww::kTextTypeCount] = {
    {2.5, 2.5, 0, 1}, {3, 3, 0, 2}, {3.5, 3.5, 0.5, 3}, {4, 4, 0, 4}, {5, 5, 0.5, 5},
    {6, 6, 0, 6},     {7, 7, 1, 7}, {8, 8, 1, 8},       {9, 9, 1, 9}, {10, 10, 1.5, 2},
};
const TextSize& Type(int n) {
  return kTypes[n - 1];
}

void SetUpHeader(jww::THeader& h) {
  h.version = kVersion;
  h.memo = JwwString::narrow(kMemo);
  h.paperSize = 3;  // A3
  h.writeLayerGroup = 0;
  for (int g = 0; g < jww::kLayerGroupCount; ++g) {
    jww::TLayerGroup& group = h.layerGroups[g];
    group.state = g == 0 ? 3 : 2;  // 3: the group written to, 2: editable
    group.writeLayer = 0;
    group.scale = kScale;
    for (int l = 0; l < 16; ++l) h.layers[g * 16 + l].state = l == 0 ? 3 : 2;
  }
  static constexpr std::uint32_t kScreenColours[jww::kPenCount] = {
      0xFFFFFF, 0xC0C000, 0x000000, 0x00C000, 0x00C0C0,
      0xC000C0, 0xFF0000, 0x008000, 0x0000FF, 0xFF00FF};
  for (int p = 0; p < jww::kPenCount; ++p) {
    jww::TPen& pen = h.pens[p];
    pen.screenColour = kScreenColours[p];
    pen.screenWidth = 1;
    pen.printerColour = p == 0 ? 0xFFFFFF : 0x000000;
    pen.printerWidth = 1;
    pen.printerPointRadius = 0.3;
  }
  static constexpr std::uint32_t kPatterns[jww::kLineTypeCount] = {
      0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xF0F0F0F0,
      0xFFF0FF00, 0xFF18FF18, 0xFF0C0C0C, 0xCCCCCCCC};
  for (int t = 0; t < jww::kLineTypeCount; ++t) {
    h.lineTypes[t] = {kPatterns[t], 1, 1, 1};
  }
  for (int n = 0; n < jww::kTextTypeCount; ++n) {
    h.textTypes[n] = {kTypes[n].width, kTypes[n].height, kTypes[n].spacing, kTypes[n].colour};
  }
  h.currentTextWidth = Type(2).width;
  h.currentTextHeight = Type(2).height;
  h.currentTextSpacing = Type(2).spacing;
  h.currentTextColour = Type(2).colour;
  h.currentTextType = 2;
}

// The furniture block: a table with two chairs, its labels and its width.
void AddFurnitureBlock(jww::Drawing& d) {
  jww::TEntBlockDef& def = d.blockDefs.emplace_back();
  def.attr = Attr(1);
  def.number = 1;
  def.referenced = 1;
  def.name = JwwString::narrow("\x89\xc6\x8b\xef");  // 家具
  EntityList block(def.entities);
  block.Rectangle(0, 0, 1200, 800);
  block.Rectangle(200, -500, 600, -100);
  block.Rectangle(600, 900, 1000, 1300);
  // テーブル: type 1 sizes and colour.
  block.Text(150, 300, 0, Type(1), "\x83\x65\x81\x5b\x83\x75\x83\x8b");
  // 椅子: no type has these sizes.
  block.Text(250, -400, 0, {2, 2, 0, 1}, "\x88\xd6\x8e\x71");
  // 1,200: type 2 sizes and colour.
  block.Dimension(0, 1200, 0, -800, Type(2), "1,200");
  def.entityCount = static_cast<std::int32_t>(def.entities.order.size());
}

void AddPlan(jww::Drawing& d) {
  EntityList plan(d.top);
  // Walls and rooms.
  plan.Rectangle(0, 0, 9100, 7280);
  plan.Line(4550, 0, 4550, 7280);
  plan.Line(0, 3640, 4550, 3640);
  plan.Line(6370, 0, 6370, 3640);
  plan.Line(4550, 3640, 9100, 3640);
  plan.QuarterArc(4550, 4440, 800, -std::numbers::pi / 2);
  plan.Square(4400, 3490, 300);
  plan.Point(0, 0);

  // Free size, matching a type in sizes and colour.
  plan.Text(3000, 7800, 0, Type(5), "\x95\xbd\x96\xca\x90\x7d");           // 平面図
  plan.Text(1500, 5400, 0, Type(3), "\x8b\x8f\x8a\xd4");                   // 居間
  plan.Text(1500, 1700, 0, Type(3), "\x90\x51\x8e\xba");                   // 寝室
  plan.Text(6000, 5400, 0, Type(1), "\x91\xe4\x8f\x8a");                   // 台所
  plan.Text(6900, 1000, 0, Type(1), "\xce\xb0\xd9");                       // ﾎｰﾙ
  plan.Text(5000, 2500, 0, Type(6), "\x97\x6d\x8e\xba \x82\x55\x92\x9f");  // 洋室 ６帖
  // Free size with a q part in the text type field, type 4 sizes and colour.
  plan.Text(6000, -1500, 10000, Type(4), "\x90\xdd\x8c\x76 Quillon");  // 設計 Quillon
  // Free size, other sizes.
  plan.Text(7500, 1700, 0, {2.7, 2.7, 0, 1}, "\x97\x81\x8e\xba");  // 浴室
  // Free size, the sizes of a type in another colour.
  plan.Text(5000, 800, 0, {3, 3, 0, 5}, "\x8c\xba\x8a\xd6");                 // 玄関
  plan.Text(7500, 5400, 0, {3.5, 3.5, 0.5, 7}, "\x87\x40\x8e\xfb\x94\x5b");  // ①収納
  // Already typed.
  plan.Text(0, -1500, 1, Type(1), "\x8f\x6b\x8e\xda 1/100");  // 縮尺 1/100
  plan.Text(9500, 7500, 4, Type(4), "\x96\x6b");              // 北

  // Dimensions: a value text of type 1 sizes, and one of other sizes.
  plan.Dimension(0, 9100, 0, -800, Type(1), "9,100");
  plan.Dimension(4550, 6370, 0, -400, {2, 2, 0, 1}, "1,820");

  plan.Insert(1000, 4000, 1);
}

jww::Drawing BuildPlan() {
  jww::Drawing d;
  d.Reset();
  d.SizeHeaderTables();
  SetUpHeader(d.header);
  AddFurnitureBlock(d);
  AddPlan(d);
  d.header.entityCount = static_cast<std::int32_t>(d.top.order.size());
  d.header.blockDefinitionCount = static_cast<std::int32_t>(d.blockDefs.size());
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Usage: make-examples OUTPUT_FOLDER\n";
    return 2;
  }
  const std::filesystem::path path = std::filesystem::path(argv[1]) / "PLAN.jww";
  jww::Drawing plan = BuildPlan();
  const jww::SaveResult saved = jww::SaveJww(plan, path, kVersion);
  if (!saved) {
    std::cerr << "make-examples: " << path.string() << ": " << saved.error << '\n';
    return 1;
  }
  std::cout << "wrote " << path.string() << '\n';
  return 0;
}
