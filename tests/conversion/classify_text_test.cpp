#include "conversion/classify_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "tests/conversion/conversion_fixture.h"

namespace {

using conversion_test::TextLike;
using conversion_test::TypeSizes;
using unit_val::ClassifyText;
using unit_val::ConversionSettings;
using unit_val::Measure;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<jww::TTextType> Table() {
  std::vector<jww::TTextType> t;
  for (int k = 1; k <= 10; ++k) t.push_back(TypeSizes(k));
  return t;
}

// Range value numbers of type k's tolerances, as the settings dialog lays
// them out: width 2k-1 / 2k, height +20, spacing +40.
void SetTolerances(ConversionSettings& s, int k, Measure m, double minus, double plus) {
  const int base = 20 * static_cast<int>(m) + 2 * k - 1;
  s.RangeValue(base) = minus;
  s.RangeValue(base + 1) = plus;
}

class ClassifyWidth : public ::testing::Test {
 protected:
  // Type 3 has width 3; a text with type 3's height, spacing and colour.
  int Classify(double width) const {
    const jww::TTextType t = TypeSizes(3);
    return ClassifyText(table, settings, static_cast<std::uint16_t>(t.colour), width, t.height,
                        t.spacing);
  }
  std::vector<jww::TTextType> table = Table();
  ConversionSettings settings;
};

TEST_F(ClassifyWidth, ZeroTolerancesTakeNominalUpToAMillionthAbove) {
  EXPECT_EQ(Classify(3.0), 3);
  EXPECT_EQ(Classify(3.0000001), 3);
  EXPECT_EQ(Classify(3.00001), 0);
  EXPECT_EQ(Classify(3.000001), 0);  // 3 + 0.000001 is a little below the double 3.000001
  EXPECT_EQ(Classify(std::nextafter(3.0, 0.0)), 0);
}

TEST_F(ClassifyWidth, LowerBoundInclusiveUpperExclusive) {
  SetTolerances(settings, 3, Measure::kWidth, 0.5, 0.5);
  EXPECT_EQ(Classify(2.5), 3);
  EXPECT_EQ(Classify(std::nextafter(2.5, 0.0)), 0);
  EXPECT_EQ(Classify(std::nextafter(3.5, 0.0)), 3);
  EXPECT_EQ(Classify(3.5), 0);
}

TEST_F(ClassifyWidth, SmallPlusTolerancesCountAsAMillionth) {
  for (double plus : {0.0, -0.5, 0.0000005, 0.000001}) {
    SetTolerances(settings, 3, Measure::kWidth, 0, plus);
    EXPECT_EQ(Classify(3.0), 3) << plus;
    EXPECT_EQ(Classify(3.0000009), 3) << plus;
    EXPECT_EQ(Classify(3.0000011), 0) << plus;
  }
  SetTolerances(settings, 3, Measure::kWidth, 0, 0.000002);
  EXPECT_EQ(Classify(3.0000015), 3);
  SetTolerances(settings, 3, Measure::kWidth, 0, kNaN);  // not greater than the minimum
  EXPECT_EQ(Classify(3.0), 3);
}

TEST_F(ClassifyWidth, NegativeMinusToleranceRaisesTheLowerBound) {
  SetTolerances(settings, 3, Measure::kWidth, -0.5, 1.0);
  EXPECT_EQ(Classify(3.0), 0);
  EXPECT_EQ(Classify(3.25), 0);
  EXPECT_EQ(Classify(3.5), 3);
}

TEST_F(ClassifyWidth, ExactBoundsWhereRoundingTheBoundWouldDiffer) {
  // 3 + 0.3 lies above the double 3.3, 3 - 0.1 above the double 2.9.
  SetTolerances(settings, 3, Measure::kWidth, 0.1, 0.3);
  EXPECT_EQ(Classify(3.3), 3);
  EXPECT_EQ(Classify(2.9), 0);
  EXPECT_EQ(Classify(std::nextafter(2.9, 3.0)), 3);
}

TEST_F(ClassifyWidth, NaNStaysFreeSize) {
  EXPECT_EQ(Classify(kNaN), 0);
  SetTolerances(settings, 3, Measure::kWidth, 1e300, 1e300);
  EXPECT_EQ(Classify(kNaN), 0);
  EXPECT_EQ(Classify(-1e200), 3);
}

TEST(ClassifyText, EveryMeasureMustFit) {
  const auto table = Table();
  ConversionSettings s;
  const jww::TTextType t = TypeSizes(5);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, t.height, t.spacing), 5);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, t.height + 0.01, t.spacing), 0);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, t.height, t.spacing - 0.01), 0);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, kNaN, t.spacing), 0);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, t.height, kNaN), 0);
  // Height and spacing tolerances are their own range values.
  SetTolerances(s, 5, Measure::kHeight, 0, 0.1);
  SetTolerances(s, 5, Measure::kSpacing, 0.1, 0);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width, t.height + 0.05, t.spacing - 0.05), 5);
  EXPECT_EQ(ClassifyText(table, s, 5, t.width + 0.05, t.height, t.spacing), 0);
}

TEST(ClassifyText, FirstFittingTypeWins) {
  auto table = Table();
  ConversionSettings s = conversion_test::AnyColourSettings();
  // Types 2 and 7 share their sizes: 7 never wins.
  table[6] = table[1];
  EXPECT_EQ(ClassifyText(table, s, 0, table[1].width, table[1].height, table[1].spacing), 2);
  // Overlapping ranges: type 4 reaches up over type 5's sizes.
  for (Measure m : {Measure::kWidth, Measure::kHeight, Measure::kSpacing}) {
    SetTolerances(s, 4, m, 0, 2);
  }
  const jww::TTextType five = TypeSizes(5);
  EXPECT_EQ(ClassifyText(table, s, 0, five.width, five.height, five.spacing), 4);
}

TEST(ClassifyText, ColourRuleByFlag) {
  auto table = Table();
  table[5] = table[4];  // type 6 has type 5's sizes
  table[5].colour = 9;
  const jww::TTextType five = table[4];
  ConversionSettings s;
  auto classify = [&](std::uint16_t colour) {
    return ClassifyText(table, s, colour, five.width, five.height, five.spacing);
  };
  // Flag 0: the colour must be the type's; a later type of that colour takes it.
  EXPECT_EQ(classify(5), 5);
  EXPECT_EQ(classify(9), 6);
  EXPECT_EQ(classify(3), 0);
  // Flag 1: any colour.
  s.Flag(5) = 1;
  EXPECT_EQ(classify(3), 5);
  EXPECT_EQ(classify(9), 5);
  // Any other value: the type takes nothing, not even its own colour.
  for (std::int32_t flag : {2, -1, 11}) {
    s.Flag(5) = flag;
    EXPECT_EQ(classify(5), 0) << flag;
    EXPECT_EQ(classify(9), 6) << flag;
  }
}

TEST(ClassifyText, TypeWhoseColourDoesNotFitAPenColourIsSkipped) {
  auto table = Table();
  table[1] = table[0];
  table[0].colour = 65536;  // as a 16-bit pen colour this would be 0
  ConversionSettings s = conversion_test::AnyColourSettings();
  const jww::TTextType one = table[0];
  EXPECT_EQ(ClassifyText(table, s, 0, one.width, one.height, one.spacing), 2);
  s.Flag(1) = 0;
  s.Flag(2) = 0;
  EXPECT_EQ(ClassifyText(table, s, 0, one.width, one.height, one.spacing), 0);
  table[0].colour = 65535;
  EXPECT_EQ(ClassifyText(table, s, 65535, one.width, one.height, one.spacing), 1);
}

TEST(ClassifyText, ShortTableOffersOnlyItsRows) {
  auto table = Table();
  const jww::TTextType eight = table[7];
  table.resize(7);
  ConversionSettings s;
  EXPECT_EQ(ClassifyText(table, s, 8, eight.width, eight.height, eight.spacing), 0);
  EXPECT_EQ(ClassifyText({}, s, 1, 1, 1.5, 0.25), 0);
}

TEST(RetypeText, TouchesExactlyFiveFields) {
  const auto table = Table();
  jww::TEntMoji text = TextLike(2, 10000, 7);
  text.width = 1.9;
  text.height = 2.6;
  text.spacing = 0.4;
  const jww::TEntMoji before = text;
  unit_val::RetypeText(text, table, 4);

  jww::TEntMoji expected = before;
  expected.attr.penColour = 4;
  expected.width = 4;
  expected.height = 4.5;
  expected.spacing = 1;
  expected.textType = 10004;
  EXPECT_EQ(text, expected);
}

TEST(RetypeText, KeepsTheQuotientOfTenThousand) {
  const auto table = Table();
  for (std::uint32_t field : {0u, 10000u, 20000u, 4294960000u}) {
    jww::TEntMoji text = TextLike(1, field);
    unit_val::RetypeText(text, table, 10);
    EXPECT_EQ(text.textType, field + 10) << field;
  }
}

TEST(RetypeText, RefusesTypesItCannotGive) {
  auto table = Table();
  table[2].colour = 70000;
  jww::TEntMoji text = TextLike(1);
  const jww::TEntMoji before = text;
  EXPECT_THROW(unit_val::RetypeText(text, table, 0), std::out_of_range);
  EXPECT_THROW(unit_val::RetypeText(text, table, 11), std::out_of_range);
  EXPECT_THROW(unit_val::RetypeText(text, table, 3), std::out_of_range);
  EXPECT_EQ(text, before);
}

TEST(ConvertText, OnlyFreeSizeTextsAreConverted) {
  const auto table = Table();
  const ConversionSettings s = conversion_test::AnyColourSettings();
  for (std::uint32_t typed : {3u, 10003u, 9999u}) {
    jww::TEntMoji text = TextLike(6, typed);  // type 6's sizes, but typed
    const jww::TEntMoji before = text;
    EXPECT_EQ(unit_val::ConvertText(text, table, s), 0) << typed;
    EXPECT_EQ(text, before);
  }
  jww::TEntMoji free = TextLike(6, 20000, 1);
  EXPECT_EQ(unit_val::ConvertText(free, table, s), 6);
  EXPECT_EQ(free.textType, 20006u);
  EXPECT_EQ(free.attr.penColour, 6);
}

}  // namespace
