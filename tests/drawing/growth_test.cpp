// A load's memory and work grow in proportion to the drawing, counted in
// bytes allocated and bytes read, not timed.
#include <gtest/gtest.h>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/drawing/allocation_watch.h"
#include "tests/support/synthetic.h"

namespace {

struct LoadCost {
  std::size_t fileBytes = 0;
  std::size_t allocated = 0;
};

LoadCost LoadCostOf(std::size_t points) {
  jww::Drawing d = synthetic::MakeHeaderOnly(600);
  for (std::size_t i = 0; i < points; ++i) {
    synthetic::Add(d.top, synthetic::MakePoint(600, static_cast<unsigned>(i), false));
  }
  synthetic::UpdateCounts(d);
  std::string bytes;
  EXPECT_TRUE(jww::SaveJwwToMemory(d, 600, bytes));
  d.Free();
  drawing_test::ResetAllocatedBytes();
  jww::Drawing loaded;
  const jww::LoadResult result = jww::LoadJwwFromMemory(loaded, bytes.data(), bytes.size());
  const std::size_t allocated = drawing_test::AllocatedBytes();
  EXPECT_TRUE(result) << result.error;
  EXPECT_EQ(loaded.top.points.size(), points);
  return {bytes.size(), allocated};
}

TEST(LoadGrowth, MemoryGrowsLinearlyWithTheEntities) {
  if (!drawing_test::AllocationWatchActive()) GTEST_SKIP() << "operator new is the sanitizer's";
  const LoadCost small = LoadCostOf(50000), large = LoadCostOf(400000);
  const double perEntitySmall = static_cast<double>(small.allocated) / 50000;
  const double perEntityLarge = static_cast<double>(large.allocated) / 400000;
  // Tables grow by doubling, so a load takes at most about twice what the
  // entities hold, whatever their number.
  EXPECT_LT(perEntityLarge, 4.0 * sizeof(jww::TEntTen));
  EXPECT_LT(perEntityLarge, 1.5 * perEntitySmall);
  EXPECT_LT(large.allocated, 8 * large.fileBytes);
}

TEST(LoadGrowth, AnEmptiedDrawingGivesBackTheMemoryOfALargeOne) {
  jww::Drawing d = synthetic::MakeHeaderOnly(600);
  for (unsigned i = 0; i < 100000; ++i) synthetic::Add(d.top, synthetic::MakePoint(600, i, false));
  synthetic::UpdateCounts(d);
  std::string bytes;
  ASSERT_TRUE(jww::SaveJwwToMemory(d, 600, bytes));
  jww::Drawing loaded;
  ASSERT_TRUE(jww::LoadJwwFromMemory(loaded, bytes.data(), bytes.size()));
  loaded.Free();
  EXPECT_EQ(loaded.top.points.capacity(), 0u) << "a batch would hold it until its end";
  EXPECT_EQ(loaded.top.order.capacity(), 0u);
}

}  // namespace
