// Files prepared on several threads still reach the caller one by one, in
// their order.
#include "conversion/preparation_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

namespace {

using unit_val::ConvertContext;
using unit_val::PreparationPool;
using unit_val::PreparedConversion;

TEST(PreparationPool, HandsOverInOrderWithinTheLookAhead) {
  constexpr std::size_t kFiles = 300, kLookAhead = 8;
  std::atomic<std::size_t> taking{0};
  std::atomic<std::size_t> furthest{0};
  unit_val::StopToken stop;
  PreparationPool pool(kFiles, 4, kLookAhead, false, stop,
                       [&](std::size_t i, const ConvertContext& context) {
                         EXPECT_TRUE(context.drawing.top.order.empty());
                         EXPECT_TRUE(context.tempFolder && context.tempFolder->ok());
                         const std::size_t ahead = i - taking.load();
                         if (ahead > furthest) furthest = ahead;
                         if (i == 5) throw std::runtime_error("out of handles");
                         PreparedConversion prepared;
                         prepared.outcome.failure.detail = std::to_string(i);
                         return prepared;
                       });
  for (std::size_t i = 0; i < kFiles; ++i) {
    taking = i;
    const PreparedConversion prepared = pool.Take(i);
    if (i == 5) {
      EXPECT_EQ(prepared.outcome.failedStage, unit_val::ConvertStage::kSave);
      EXPECT_EQ(prepared.outcome.failure.detail, "out of handles");
      EXPECT_EQ(prepared.outcome.failure.code, unit_val::Reason::kUnexpected);
    } else {
      EXPECT_EQ(prepared.outcome.failure.detail, std::to_string(i));
    }
  }
  EXPECT_LE(furthest.load(), kLookAhead) << "a worker ran too far ahead of the caller";
}

TEST(PreparationPool, StartsNoFileAfterAStop) {
  constexpr std::size_t kFiles = 1000;
  std::atomic<std::size_t> started{0};
  unit_val::StopToken stop;
  {
    PreparationPool pool(kFiles, 3, 4, false, stop, [&](std::size_t, const ConvertContext&) {
      ++started;
      return PreparedConversion{};
    });
    pool.Take(0);
    stop.Request(2);
    for (std::size_t i = 1; i < kFiles; ++i) pool.Take(i);  // none of them waits forever
  }
  EXPECT_LE(started.load(), 1u + 4u + 3u) << "the files taken, the look-ahead, one per worker";
}

}  // namespace
