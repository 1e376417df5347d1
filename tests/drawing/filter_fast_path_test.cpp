// The writer skips the string filter when it would change nothing; that
// shortcut must never let through a string the filter would have changed.
#include <gtest/gtest.h>

#include <random>

#include "drawing/writer_rules.h"

namespace {

TEST(FilterFastPath, SkipsOnlyStringsTheFilterKeeps) {
  std::mt19937 random(7);
  // Bytes that matter to the filter: controls, '^', 'm', lead bytes, others.
  const unsigned char pool[] = {0x00, 0x09, 0x0A, 0x1F, 0x20, '^',
                                'm',  'A',  0x81, 0x9F, 0xE0, 0xFD};
  int skipped = 0, filtered = 0;
  for (int round = 0; round < 20000; ++round) {
    const bool wide = round % 2 == 1;
    std::string bytes;
    const int length = static_cast<int>(random() % 7);
    for (int i = 0; i < length * (wide ? 2 : 1); ++i) {
      const bool highByteOfUnit = wide && i % 2 == 1;
      bytes.push_back(static_cast<char>(highByteOfUnit ? (random() % 4 == 0 ? 0x30 : 0)
                                                       : pool[random() % sizeof pool]));
    }
    const jww::JwwString s(bytes, wide);
    if (jww::NeedsFilterForWrite(s)) {
      ++filtered;
    } else {
      ++skipped;
      ASSERT_EQ(jww::FilterForWrite(s), s) << "round " << round;
    }
  }
  EXPECT_GT(skipped, 1000);
  EXPECT_GT(filtered, 1000);
}

}  // namespace
