// The list as a whole: layers in their stored state, marks on the right
// texts, shared styles, the paper.
#include <gtest/gtest.h>

#include <limits>

#include "render/display_list.h"
#include "tests/render/recording_painter.h"
#include "tests/support/synthetic.h"

namespace {

using namespace render;

jww::Drawing Empty() {
  jww::Drawing d;
  d.header.version = 600;
  d.SizeHeaderTables();
  for (jww::TLayer& layer : d.header.layers) layer.state = 2;
  for (jww::TLayerGroup& group : d.header.layerGroups) group.state = 2;
  return d;
}

jww::TEntSen LineOn(int group, int layer, double y) {
  jww::TEntSen line;
  line.attr.penColour = 2;
  line.attr.penStyle = 1;
  line.attr.layerGroup = static_cast<std::uint16_t>(group);
  line.attr.layer = static_cast<std::uint16_t>(layer);
  line.endX = 10, line.startY = line.endY = y;
  return line;
}

jww::TEntMoji TextAt(double x, const char* ascii) {
  jww::TEntMoji text;
  text.attr.penColour = 2;
  text.startX = x, text.width = text.height = 3;
  text.text = jww::JwwString::narrow(ascii);
  return text;
}

TEST(DisplayList, LayersAreDrawnInTheirStoredState) {
  jww::Drawing d = Empty();
  // Layer states: 0 hidden, 1 shown only, 2 editable, 3 written to; group 2
  // hidden as a whole.
  d.header.layers[0 * 16 + 1].state = 0;
  d.header.layers[0 * 16 + 2].state = 1;
  d.header.layers[0 * 16 + 3].state = 3;
  d.header.layerGroups[0].state = 3;
  d.header.layerGroups[1].state = 2;
  d.header.layerGroups[2].state = 0;
  d.header.layers[1 * 16 + 4].name = jww::JwwString::narrow("\x95\xC7");  // 壁
  for (int layer = 0; layer < 16; ++layer) d.header.layers[16 + layer].state = 2;
  for (int layer = 0; layer < 16; ++layer) d.header.layers[32 + layer].state = 2;
  synthetic::Add(d.top, LineOn(0, 1, 1));
  synthetic::Add(d.top, LineOn(0, 2, 2));
  synthetic::Add(d.top, LineOn(0, 3, 3));
  synthetic::Add(d.top, LineOn(1, 4, 4));
  synthetic::Add(d.top, LineOn(2, 5, 500));
  const DisplayList list = BuildDisplayList(d);

  ASSERT_EQ(list.layers.size(), 256u);
  EXPECT_EQ(list.layers[1].state, LayerState::kHidden);
  EXPECT_EQ(list.layers[2].state, LayerState::kShownOnly);
  EXPECT_EQ(list.layers[3].state, LayerState::kEditable);
  EXPECT_EQ(list.layerGroups[2].state, LayerState::kHidden);
  EXPECT_EQ(list.layers[20].name, "壁");
  EXPECT_EQ(list.layers[0x2F].name, "2-F");
  EXPECT_EQ(list.items[4].layerGroup, 2);
  EXPECT_EQ(list.items[4].layer, 5);
  render_test::RecordingPainter painter;
  Walk(list, painter);
  ASSERT_EQ(painter.lines.size(), 3u);
  EXPECT_EQ(painter.lines[0].a.y, 2);
  EXPECT_TRUE(painter.lines[0].greyed);
  EXPECT_FALSE(painter.lines[1].greyed);
  // What is not drawn does not widen the bounds.
  EXPECT_EQ(list.bounds.bottom, 2);
  EXPECT_EQ(list.bounds.top, 4);
}

TEST(DisplayList, MarksLandOnTheirTexts) {
  jww::Drawing d = Empty();
  synthetic::Add(d.top, TextAt(0, "a"));
  synthetic::Add(d.top, TextAt(10, "b"));
  synthetic::Add(d.top, synthetic::DimensionWith(TextAt(20, "100")));
  jww::TEntBlockDef& def = synthetic::AddBlockDefinition(d, 5, false);
  synthetic::Add(def.entities, TextAt(30, "c"));
  synthetic::Add(def.entities, TextAt(40, "d"));
  jww::TEntBlock insert;
  insert.definitionNumber = 5;
  insert.scaleX = insert.scaleY = 1;
  synthetic::Add(d.top, insert);
  const TextMark marks[] = {{{-1, false, 1}, 3}, {{-1, true, 0}, 2}, {{0, false, 1}, 3}};
  const DisplayList list = BuildDisplayList(d, marks);

  ASSERT_EQ(list.texts.size(), 5u);  // the definition's two, then the top level's three
  auto textOf = [&](const Item& item) {
    for (const Part& part : list.PartsOf(item)) {
      if (part.shape == ShapeKind::kText) return list.texts[part.index];
    }
    return TextShape{};
  };
  EXPECT_EQ(textOf(list.items[0]).newType, 0);
  EXPECT_EQ(textOf(list.items[1]).newType, 3);
  EXPECT_EQ(textOf(list.items[1]).utf8, "b");
  EXPECT_EQ(list.items[2].kind, ItemKind::kDimension);
  EXPECT_EQ(textOf(list.items[2]).newType, 2);
  EXPECT_TRUE(textOf(list.items[2]).place.dimensionValue);
  const Symbol& symbol = list.symbols[0];
  EXPECT_EQ(textOf(symbol.items[0]).newType, 0);
  EXPECT_EQ(textOf(symbol.items[1]).newType, 3);
  EXPECT_EQ(textOf(symbol.items[1]).place.blockDef, 0);
  EXPECT_EQ(list.retypedByType[1], 1);
  EXPECT_EQ(list.retypedByType[2], 2);
}

TEST(DisplayList, StylesAreSharedAndSolidsKeepTheirColour) {
  jww::Drawing d = Empty();
  d.header.paperSize = 4;
  for (int i = 0; i < 1000; ++i) synthetic::Add(d.top, LineOn(0, 0, i));
  jww::TEntSolid solid;
  solid.attr.penColour = jww::kSolidRgbColour;
  solid.rgbColour = 0x00336699;  // stored as 0x00BBGGRR
  synthetic::Add(d.top, solid);
  jww::TEntTen temporary;
  temporary.temporary = 1;
  synthetic::Add(d.top, temporary);
  const DisplayList list = BuildDisplayList(d);

  EXPECT_EQ(list.styles.size(), 2u);
  EXPECT_EQ(list.items.size(), 1001u);  // the temporary point left out
  EXPECT_EQ(list.styles[list.parts.back().style].colour, (Rgb{0x99, 0x66, 0x33}));
  EXPECT_EQ(list.paper.right, 148.5);
  EXPECT_EQ(list.paper.top, 105);
  BuildOptions withTemporary;
  withTemporary.temporaryPoints = true;
  EXPECT_EQ(BuildDisplayList(d, {}, withTemporary).items.size(), 1002u);
}

TEST(DisplayList, DimensionsCarryTheirPartsAndImagesTheirFrames) {
  jww::Drawing d = Empty();
  // As older files load: zeros in place of the auxiliary lines and points.
  synthetic::Add(d.top, synthetic::DimensionWith(TextAt(0, "100")));
  jww::TEntSunpo full = synthetic::DimensionWith(TextAt(0, "200"));
  full.extensionMode = 1;
  full.auxLine1.endY = 5;
  full.auxLine2.startX = full.auxLine2.endX = 100, full.auxLine2.endY = 5;
  synthetic::Add(d.top, full);
  jww::TEntMoji image = TextAt(10, "^@BM%temp%plan.png,40,20");
  image.startY = 20, image.angle = 90;
  synthetic::Add(d.top, image);
  const TextMark imageMark[] = {{{-1, false, 0}, 4}};
  const DisplayList list = BuildDisplayList(d, imageMark);

  ASSERT_EQ(list.items.size(), 3u);
  auto shapes = [&](const Item& item) {
    std::string kinds;
    for (const Part& part : list.PartsOf(item)) kinds += "LAPTFUI"[static_cast<int>(part.shape)];
    return kinds;
  };
  EXPECT_EQ(shapes(list.items[0]), "LT");
  EXPECT_EQ(shapes(list.items[1]), "LLLPPPPT");
  EXPECT_EQ(list.items[2].kind, ItemKind::kImage);
  ASSERT_EQ(list.images.size(), 1u);
  EXPECT_EQ(list.images[0].name, "plan.png");
  // The frame stands on the text's start, turned with it.
  EXPECT_NEAR(list.images[0].corners[1].x, 10, 1e-9);
  EXPECT_NEAR(list.images[0].corners[1].y, 60, 1e-9);
  EXPECT_NEAR(list.images[0].corners[2].x, -10, 1e-9);
  EXPECT_EQ(list.retypedByType[3], 1);  // as the conversion counts it
  EXPECT_EQ(list.texts.size(), 2u);
}

TEST(DisplayList, NumbersThatAreNoneLeaveTheBoundsAlone) {
  jww::Drawing d = Empty();
  synthetic::Add(d.top, LineOn(0, 0, 7));
  jww::TEntSen damaged = LineOn(0, 0, 1);
  damaged.endX = std::numeric_limits<double>::quiet_NaN();
  synthetic::Add(d.top, damaged);
  jww::TEntSolid solid;
  solid.attr.penStyle = 101;  // an arc solid whose span is no number
  solid.endX = 5, solid.point3X = std::numeric_limits<double>::quiet_NaN();
  synthetic::Add(d.top, solid);
  const DisplayList list = BuildDisplayList(d);

  EXPECT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.bounds.left, 0);
  EXPECT_EQ(list.bounds.right, 10);
  EXPECT_EQ(list.bounds.bottom, 7);
  EXPECT_EQ(list.bounds.top, 7);
}

}  // namespace
