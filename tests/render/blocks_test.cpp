// Block inserts drawn through their definitions' symbols: transforms,
// nesting, and definitions that lead back to themselves.
#include <gtest/gtest.h>

#include <numbers>

#include "render/display_list.h"
#include "tests/render/recording_painter.h"
#include "tests/support/synthetic.h"

namespace {

using namespace render;

jww::TEntSen Line(double x0, double y0, double x1, double y1) {
  jww::TEntSen line;
  line.attr.penColour = 2;
  line.attr.penStyle = 1;
  line.startX = x0, line.startY = y0, line.endX = x1, line.endY = y1;
  return line;
}

jww::TEntBlock Insert(std::uint32_t def, double x, double y, double scale = 1,
                      double rotation = 0) {
  jww::TEntBlock insert;
  insert.definitionNumber = def;
  insert.originX = x, insert.originY = y;
  insert.scaleX = insert.scaleY = scale;
  insert.rotation = rotation;
  return insert;
}

jww::Drawing Empty() {
  jww::Drawing d;
  d.header.version = 600;
  d.SizeHeaderTables();
  for (jww::TLayer& layer : d.header.layers) layer.state = 2;
  for (jww::TLayerGroup& group : d.header.layerGroups) group.state = 2;
  return d;
}

render_test::RecordingPainter Paint(const DisplayList& list) {
  render_test::RecordingPainter painter;
  Walk(list, painter);
  return painter;
}

TEST(DisplayListBlocks, NestedInsertsScaleRotateAndMove) {
  jww::Drawing d = Empty();
  // Definition 7: a unit line along x; definition 8: definition 7 turned a
  // quarter and doubled, 10 to the right.
  synthetic::Add(synthetic::AddBlockDefinition(d, 7, false).entities, Line(0, 0, 1, 0));
  synthetic::Add(synthetic::AddBlockDefinition(d, 8, false).entities,
                 Insert(7, 10, 0, 2, std::numbers::pi / 2));
  synthetic::Add(d.top, Insert(8, 100, 50, 3, 0));
  const DisplayList list = BuildDisplayList(d);

  ASSERT_EQ(list.items.size(), 1u);
  EXPECT_EQ(list.items[0].kind, ItemKind::kBlock);
  ASSERT_EQ(list.symbols.size(), 2u);
  EXPECT_EQ(list.symbols[1].number, 8u);
  const auto painted = Paint(list);
  ASSERT_EQ(painted.lines.size(), 1u);
  // (1, 0) -> turned and doubled (0, 2) -> moved (10, 2) -> tripled (30, 6) -> moved.
  EXPECT_NEAR(painted.lines[0].a.x, 130, 1e-9);
  EXPECT_NEAR(painted.lines[0].a.y, 50, 1e-9);
  EXPECT_NEAR(painted.lines[0].b.x, 130, 1e-9);
  EXPECT_NEAR(painted.lines[0].b.y, 56, 1e-9);
  // The bounds follow the transformed contents, not the definitions' own.
  EXPECT_NEAR(list.bounds.left, 130, 1e-9);
  EXPECT_NEAR(list.bounds.bottom, 50, 1e-9);
  EXPECT_NEAR(list.bounds.top, 56, 1e-9);
}

TEST(DisplayListBlocks, DefinitionsThatLeadBackAreDrawnOnce) {
  jww::Drawing d = Empty();
  // 1 uses itself; 2 and 3 use each other; 4 uses 2 and 3.
  jww::EntityTables& self = synthetic::AddBlockDefinition(d, 1, false).entities;
  synthetic::Add(self, Line(0, 0, 1, 0));
  synthetic::Add(self, Insert(1, 5, 5));
  jww::EntityTables& two = synthetic::AddBlockDefinition(d, 2, false).entities;
  synthetic::Add(two, Line(0, 0, 2, 0));
  synthetic::Add(two, Insert(3, 0, 10));
  jww::EntityTables& three = synthetic::AddBlockDefinition(d, 3, false).entities;
  synthetic::Add(three, Line(0, 0, 3, 0));
  synthetic::Add(three, Insert(2, 0, 10));
  synthetic::Add(d.top, Insert(1, 0, 0));
  synthetic::Add(d.top, Insert(2, 0, 0));
  synthetic::Add(d.top, Insert(99, 0, 0));  // no such definition: drawn as nothing
  const DisplayList list = BuildDisplayList(d);

  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.items[2].partCount, 0u);
  EXPECT_EQ(list.symbols[0].items.size(), 1u);  // the line; the use of itself left out
  const auto painted = Paint(list);
  // Definition 1 once; definition 2 with 3 inside it, and 3's use of 2 left out.
  ASSERT_EQ(painted.lines.size(), 3u);
  EXPECT_DOUBLE_EQ(painted.lines[0].b.x, 1);
  EXPECT_DOUBLE_EQ(painted.lines[1].b.x, 2);
  EXPECT_DOUBLE_EQ(painted.lines[2].b.x, 3);
  EXPECT_DOUBLE_EQ(painted.lines[2].a.y, 10);
}

}  // namespace
