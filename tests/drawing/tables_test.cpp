// The drawing tables: reset defaults, free, and the derived header fields.
#include <gtest/gtest.h>

#include "drawing/jwwunit.h"
#include "tests/support/synthetic.h"

namespace {

using namespace jww;

TEST(Tables, ResetGivesTheDefaultsAndEmptiesEveryTable) {
  Drawing d = synthetic::MakeFullDrawing(700);
  d.images.emplace_back();
  d.Reset();
  const THeader& h = d.header;
  for (double one : {h.printerScale, h.scaleMarkMinSpacing, h.scaleMarkXSpacing,
                     h.scaleMarkYSpacing, h.viewScale, h.rangeScale}) {
    EXPECT_EQ(one, 1.0);
  }
  for (const TZoomJump& j : h.zoomJumps) {
    EXPECT_EQ(j.scale, 1.0);
    EXPECT_EQ(j.originX, 0.0);
    EXPECT_EQ(j.layerGroup, -1);
  }
  EXPECT_TRUE(h.signature.empty());
  EXPECT_TRUE(h.memo.empty());
  EXPECT_EQ(h.version, 0);
  EXPECT_EQ(h.paperSize, 0u);
  EXPECT_EQ(h.flag11Tens, 0);
  EXPECT_TRUE(h.layers.empty());
  EXPECT_TRUE(h.textTypes.empty());
  EXPECT_TRUE(h.extendedColours.empty());
  EXPECT_EQ(d.top.entityCount(), 0u);
  EXPECT_TRUE(d.top.order.empty());
  EXPECT_TRUE(d.blockDefs.empty());
  EXPECT_EQ(d.images.size(), 1u);  // the image list outlives the tables
  d.ClearImageList();
  EXPECT_TRUE(d.images.empty());
}

TEST(Tables, FreeEmptiesTheDefinitionsAndSizeGivesTheFixedTables) {
  Drawing d = synthetic::MakeFullDrawing(600);
  d.Free();
  EXPECT_TRUE(d.blockDefs.empty());
  EXPECT_EQ(d.top.entityCount(), 0u);
  d.SizeHeaderTables();
  EXPECT_EQ(d.header.layerGroups.size(), 16u);
  EXPECT_EQ(d.header.layers.size(), 256u);
  EXPECT_EQ(d.header.pens.size(), 10u);
  EXPECT_EQ(d.header.lineTypes.size(), 8u);
  EXPECT_EQ(d.header.randomLines.size(), 5u);
  EXPECT_EQ(d.header.doubleLines.size(), 4u);
  EXPECT_EQ(d.header.extendedColours.size(), 257u);
  EXPECT_EQ(d.header.extendedLineTypes.size(), 33u);
  EXPECT_EQ(d.header.textTypes.size(), 10u);
  EXPECT_EQ(d.header.layers[200], TLayer{});
}

}  // namespace
