// The real Jw_cad drawings: every top-level entity becomes one item of its
// kind, texts are laid out to the end points Jw_cad stored, and what is
// drawn lies on the drawing's paper.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "drawing/jww_loader.h"
#include "drawing/jww_text.h"
#include "render/display_list.h"
#include "render/text_layout.h"
#include "tests/support/paths.h"

namespace {

using namespace render;

std::size_t Index(ItemKind kind) {
  return static_cast<std::size_t>(kind);
}

double Overlap(const Rect& a, const Rect& b) {
  const double w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const double h = std::min(a.top, b.top) - std::max(a.bottom, b.bottom);
  return w > 0 && h > 0 ? w * h : 0;
}

TEST(DisplayListSamples, ItemsMatchEntitiesTextsMeetTheirEndsBoundsOnThePaper) {
  QUILLON_REQUIRE_SAMPLES();
  for (const auto& file : testing_support::SampleDrawings()) {
    SCOPED_TRACE(file.filename().string());
    jww::Drawing d;
    d.imageOptions.readSection = false;
    d.imageOptions.extract = false;
    ASSERT_TRUE(jww::LoadJww(d, file).ok());
    const DisplayList list = BuildDisplayList(d);

    std::array<std::size_t, kItemKindCount> items{};
    for (const Item& item : list.items) ++items[Index(item.kind)];
    std::size_t drawnPoints = 0;
    for (const jww::TEntTen& p : d.top.points) drawnPoints += p.temporary == 0;
    EXPECT_EQ(items[Index(ItemKind::kLine)], d.top.lines.size());
    EXPECT_EQ(items[Index(ItemKind::kArc)], d.top.arcs.size());
    EXPECT_EQ(items[Index(ItemKind::kPoint)], drawnPoints);
    EXPECT_EQ(items[Index(ItemKind::kText)] + items[Index(ItemKind::kImage)], d.top.texts.size());
    EXPECT_EQ(items[Index(ItemKind::kDimension)], d.top.dimensions.size());
    EXPECT_EQ(items[Index(ItemKind::kSolid)], d.top.solids.size());
    EXPECT_EQ(items[Index(ItemKind::kBlock)], d.top.blockInserts.size());
    EXPECT_EQ(list.symbols.size(), d.blockDefs.size());

    // Jw_cad stores where each text ends; settings texts it never laid out
    // store their start again.
    std::size_t compared = 0;
    for (const TextShape& text : list.texts) {
      const jww::TEntMoji& stored = d.top.texts[text.place.index];
      EXPECT_EQ(text.fontName, jww::DecodedText(stored.fontName));
      if (stored.startX == stored.endX && stored.startY == stored.endY) continue;
      const double advance = TextAdvance(text);
      EXPECT_NEAR(text.start.x + advance * std::cos(text.angle), stored.endX, 0.01) << text.utf8;
      EXPECT_NEAR(text.start.y + advance * std::sin(text.angle), stored.endY, 0.01) << text.utf8;
      ++compared;
    }
    EXPECT_EQ(compared > 0, !d.top.texts.empty() && d.header.version < 700);

    // Coordinates are paper millimetres: the paper is mostly covered by
    // what is drawn, or what is drawn lies mostly on the paper (shadow
    // studies run far beyond it), at the paper's order of size.
    ASSERT_FALSE(list.bounds.empty());
    const double boundsArea =
        (list.bounds.right - list.bounds.left) * (list.bounds.top - list.bounds.bottom);
    const double paperArea =
        (list.paper.right - list.paper.left) * (list.paper.top - list.paper.bottom);
    EXPECT_GT(Overlap(list.bounds, list.paper), 0.5 * std::min(boundsArea, paperArea));
    EXPECT_GT(boundsArea, 0.02 * paperArea);
    EXPECT_LT(boundsArea, 25 * paperArea);
  }
}

}  // namespace
