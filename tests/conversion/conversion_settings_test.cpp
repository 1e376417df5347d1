#include "conversion/conversion_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/settings_file.h"
#include "tests/support/paths.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_val::ConversionSettings;
using unit_val::Measure;

TEST(ConversionSettings, TolerancesFollowTheRangeValueLayout) {
  ConversionSettings s;
  for (int n = 1; n <= 60; ++n) s.RangeValue(n) = n;
  struct Row {
    int type, widthMinus, heightMinus, spacingMinus;
  };
  for (const Row row : {Row{1, 1, 21, 41}, Row{4, 7, 27, 47}, Row{10, 19, 39, 59}}) {
    EXPECT_EQ(s.MinusTolerance(row.type, Measure::kWidth), row.widthMinus);
    EXPECT_EQ(s.PlusTolerance(row.type, Measure::kWidth), row.widthMinus + 1);
    EXPECT_EQ(s.MinusTolerance(row.type, Measure::kHeight), row.heightMinus);
    EXPECT_EQ(s.PlusTolerance(row.type, Measure::kHeight), row.heightMinus + 1);
    EXPECT_EQ(s.MinusTolerance(row.type, Measure::kSpacing), row.spacingMinus);
    EXPECT_EQ(s.PlusTolerance(row.type, Measure::kSpacing), row.spacingMinus + 1);
  }
  EXPECT_THROW(s.MinusTolerance(0, Measure::kWidth), std::out_of_range);
  EXPECT_THROW(s.PlusTolerance(11, Measure::kWidth), std::out_of_range);
  EXPECT_THROW(s.RangeValue(61), std::out_of_range);
  EXPECT_THROW(s.Flag(0), std::out_of_range);
  EXPECT_THROW(s.ColourAccepted(11, 0, 0), std::out_of_range);
  s.Flag(3) = 1;
  s.Reset();
  EXPECT_EQ(s, ConversionSettings{});
}

TEST(ConversionSettings, SwitchesAreOnOnlyAtOne) {
  ConversionSettings s;
  EXPECT_FALSE(s.DimensionSwitch());
  EXPECT_FALSE(s.BlockSwitch());
  s.Flag(11) = 1;
  s.Flag(12) = 2;
  EXPECT_TRUE(s.DimensionSwitch());
  EXPECT_FALSE(s.BlockSwitch());
  s.Flag(11) = -1;
  s.Flag(12) = 1;
  EXPECT_FALSE(s.DimensionSwitch());
  EXPECT_TRUE(s.BlockSwitch());
}

TEST(ConversionSettings, ColourAcceptedByFlagValue) {
  ConversionSettings s;
  EXPECT_TRUE(s.ColourAccepted(2, 5, 5));
  EXPECT_FALSE(s.ColourAccepted(2, 5, 6));
  EXPECT_FALSE(s.ColourAccepted(2, 65541, 5));  // compared at 32 bits
  s.Flag(2) = 1;
  EXPECT_TRUE(s.ColourAccepted(2, 5, 6));
  s.Flag(2) = 2;
  EXPECT_FALSE(s.ColourAccepted(2, 5, 5));
  EXPECT_TRUE(s.ColourAccepted(3, 5, 5));
}

class SettingsFile : public ::testing::Test {
 protected:
  void Write(const std::string& content) { WriteFileBytes(file(), content); }
  std::filesystem::path file() const { return dir / "quillon.ini"; }
  ScratchDir dir;
};

TEST_F(SettingsFile, RangeValuesAsTheFileHoldsThem) {
  Write(
      "[JWW]\r\n"
      "C1=0.25\r\n"
      "C3=abc\r\n"
      "C4=0.5 \r\n"
      "C5=-0.5\r\n"
      "C6=0.5000000000000000000 x\r\n"  // 21 characters count: "0.5000000000000000000"
      "C7=1234567890123456789012\r\n"   // read as 123456789012345678901
      "C8=1e400\r\n"
      "C9=1e-400\r\n"
      "C10=\r\n"
      "c11=2.5\r\n");
  ConversionSettings s;
  s.RangeValue(3) = 9;
  s.RangeValue(10) = 7;
  s.RangeValue(12) = 8;
  ASSERT_NO_THROW(s.Load(file()));
  EXPECT_EQ(s.RangeValue(1), 0.25);
  EXPECT_EQ(s.RangeValue(2), 0);
  EXPECT_EQ(s.RangeValue(3), 0);
  EXPECT_EQ(s.RangeValue(4), 0);
  EXPECT_EQ(s.RangeValue(5), -0.5);
  EXPECT_EQ(s.RangeValue(6), 0.5);
  EXPECT_EQ(s.RangeValue(7), 123456789012345678901.0);
  EXPECT_EQ(s.RangeValue(8), 0);
  EXPECT_LT(std::fabs(s.RangeValue(9)), 1e-300);
  EXPECT_EQ(s.RangeValue(10), 7);  // empty value: unchanged
  EXPECT_EQ(s.RangeValue(11), 2.5);
  EXPECT_EQ(s.RangeValue(12), 8);  // missing key: unchanged
}

TEST_F(SettingsFile, FlagsAsTheFileHoldsThem) {
  Write(
      "[JWW]\n"
      "C1=1\n"
      "[JWC]\n"
      "C1=1\n"
      "C2=abc\n"
      "C4=2\n"
      "C11=1\n"
      "C12=2\n");
  ConversionSettings s;
  s.Flag(2) = 1;
  s.Flag(3) = 1;
  s.Load(file());
  EXPECT_EQ(s.RangeValue(1), 1);
  EXPECT_EQ(s.Flag(1), 1);
  EXPECT_EQ(s.Flag(2), 0);
  EXPECT_EQ(s.Flag(3), 1);
  EXPECT_EQ(s.Flag(4), 2);
  EXPECT_FALSE(s.ColourAccepted(4, 4, 4));
  EXPECT_TRUE(s.DimensionSwitch());
  EXPECT_FALSE(s.BlockSwitch());
}

TEST_F(SettingsFile, MissingFileChangesNothing) {
  ConversionSettings s;
  s.RangeValue(60) = 1.5;
  s.Flag(12) = 1;
  const ConversionSettings before = s;
  s.Load(dir / "absent.ini");
  EXPECT_EQ(s, before);
}

TEST_F(SettingsFile, SaveWritesGeneralFormatAndDecimalFlags) {
  Write("; kept\n[Form]\nLeft=10\n");
  ConversionSettings s;
  s.RangeValue(1) = 0.00001;
  s.RangeValue(2) = 0.2;
  s.RangeValue(30) = -0.5;
  s.RangeValue(60) = 1.5e-5;
  s.Flag(1) = 1;
  s.Flag(12) = 1;
  platform::SettingsWriter writer(file());
  for (const unit_val::ConversionKey& key : unit_val::ConversionKeys()) {
    writer.Write(key.section, key.name, unit_val::ConversionKeyText(s, key));
  }
  ASSERT_TRUE(writer.Commit());

  const std::string text = ReadFileBytes(file());
  for (const char* line : {"C1=1E-5", "C2=0.2", "C3=0", "C30=-0.5", "C60=1.5E-5", "C12=1"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_NE(text.find("; kept"), std::string::npos);
  EXPECT_LT(text.find("[JWW]"), text.find("[JWC]"));

  ConversionSettings back;
  back.Load(file());
  EXPECT_EQ(back, s);
}

}  // namespace
