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

// A file of `count` empty block definitions: the smallest thing in a file
// that takes the most memory.
std::string EmptyBlockDefinitions(std::uint32_t count) {
  std::string saved[3];
  for (std::size_t n = 0; n < 3; ++n) {
    jww::Drawing d = synthetic::MakeHeaderOnly(600);
    d.blockDefs.resize(n);
    synthetic::UpdateCounts(d);
    EXPECT_TRUE(jww::SaveJwwToMemory(d, 600, saved[n]));
  }
  const std::size_t prefix = saved[0].size() - 2;  // up to the definitions' count
  std::string bytes = saved[0].substr(0, prefix) + "\xFF\xFF";
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(count >> shift);
  bytes += saved[1].substr(prefix + 2);
  const std::string next = saved[2].substr(saved[1].size());
  for (std::uint32_t i = 1; i < count; ++i) bytes += next;
  return bytes;
}

TEST(LoadGrowth, ADrawingNeedingManyTimesItsFileFailsAsOutOfMemory) {
  // Refused as the tables grow, and at once for a count that could never fit.
  for (const std::uint32_t count : {400'000u, 1'000'000u}) {
    SCOPED_TRACE(count);
    const std::string bytes = EmptyBlockDefinitions(count);
    const std::uint64_t budget = jww::kLoadMemoryPerFileByte * bytes.size() + jww::kLoadMemoryFloor;
    drawing_test::ResetAllocatedBytes();
    jww::Drawing d;
    const jww::LoadResult r = jww::LoadJwwFromMemory(d, bytes.data(), bytes.size());
    EXPECT_EQ(r.failure, jww::LoadFailure::kOutOfMemory) << r.error;
    EXPECT_NE(r.error.find("out of memory"), std::string::npos);
    if (drawing_test::AllocationWatchActive()) {
      // Every buffer the tables ever had, the ones given back included.
      EXPECT_LT(drawing_test::AllocatedBytes(), 2 * budget);
    }
  }
  jww::Drawing d;
  const std::string fewer = EmptyBlockDefinitions(1000);
  EXPECT_TRUE(jww::LoadJwwFromMemory(d, fewer.data(), fewer.size()));
  EXPECT_EQ(d.blockDefs.size(), 1000u);
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
