#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "common/func.h"

namespace {

using func::FormatGeneral;
using func::TextToDouble;
using func::TextToDoubleOrZero;
using func::TextToInt;

TEST(TextToInt, DecimalWithBlanksAndSign) {
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("192"), 192);
  EXPECT_EQ(TextToInt("   -17"), -17);
  EXPECT_EQ(TextToInt("+8"), 8);
  EXPECT_EQ(TextToInt("007"), 7);
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(TextToInt, AnythingButTheWholeNumberGivesZero) {
  for (const char* text : {"2147483648", "-2147483649", "99999999999999999999", "12 ", "1 2", "abc",
                           "12a", "-", "+", " ", "--1", "+-1", "1.0", "1e3", "\t5", "٣"}) {
    EXPECT_EQ(TextToInt(text), 0) << '"' << text << '"';
  }
}

TEST(TextToInt, HexadecimalIsA32BitPattern) {
  EXPECT_EQ(TextToInt("$FF"), 255);
  EXPECT_EQ(TextToInt("x1f"), 31);
  EXPECT_EQ(TextToInt("X10"), 16);
  EXPECT_EQ(TextToInt("0x7FFFFFFF"), 2147483647);
  EXPECT_EQ(TextToInt("0X80000000"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(TextToInt("  $a"), 10);
  EXPECT_EQ(TextToInt("-$10"), -16);
  // Leading zeros do not count against the 32 bits; the value does.
  EXPECT_EQ(TextToInt("$000000001"), 1);
  for (const char* text :
       {"$100000000", "$FFFFFFFFF", "$", "0x", "x", "$G", "$1 ", "0x-1", "$ 1", "0xx1"}) {
    EXPECT_EQ(TextToInt(text), 0) << '"' << text << '"';
  }
}

TEST(TextToDouble, NumbersItAccepts) {
  EXPECT_EQ(TextToDouble(""), 0.0);
  EXPECT_EQ(TextToDouble("0.5"), 0.5);
  EXPECT_EQ(TextToDouble("-0.5"), -0.5);
  EXPECT_EQ(TextToDouble("  +2.25"), 2.25);
  EXPECT_EQ(TextToDouble(".5"), 0.5);
  EXPECT_EQ(TextToDouble("5."), 5.0);
  EXPECT_EQ(TextToDouble("+.5e1"), 5.0);
  EXPECT_EQ(TextToDouble("1E-5"), 1e-5);
  EXPECT_EQ(TextToDouble("1.5e+3"), 1500.0);
  EXPECT_EQ(TextToDouble("000123"), 123.0);
  const double negativeZero = TextToDouble("-0");
  EXPECT_EQ(negativeZero, 0.0);
  EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(TextToDouble, MalformedTextGivesZero) {
  for (const char* text :
       {"0.5 ", "abc", ".",   "e5",   "E5",  "5e",  "5e+", "1..2", "1.2.3", "--1", "+",
        "-",    " ",   "1,5", "0x10", "$10", "inf", "nan", "1e5x", "1 e5",  "\t1", "1_000"}) {
    EXPECT_EQ(TextToDouble(text), 0.0) << '"' << text << '"';
  }
}

TEST(TextToDouble, IsCorrectlyRounded) {
  EXPECT_EQ(TextToDouble("0.2"), 0.2);
  EXPECT_EQ(TextToDouble("0.1"), 0.1);
  EXPECT_EQ(TextToDouble("2.2250738585072014e-308"), std::numeric_limits<double>::min());
  EXPECT_EQ(TextToDouble("1.7976931348623157e308"), std::numeric_limits<double>::max());
  // Exactly halfway between 1 and the next double: rounds to even.
  EXPECT_EQ(TextToDouble("1.00000000000000011102230246251565404236316680908203125"), 1.0);
  EXPECT_EQ(TextToDouble("1.000000000000000111022302462515654042363166809082031251"),
            std::nextafter(1.0, 2.0));
}

TEST(TextToDouble, IgnoresTheLocaleDecimalPoint) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "fr_FR", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) && std::string(std::localeconv()->decimal_point) == ",") {
      switched = true;
      break;
    }
  }
  EXPECT_EQ(TextToDouble("0.5"), 0.5);
  EXPECT_EQ(TextToDouble("0,5"), 0.0);
  EXPECT_EQ(FormatGeneral(0.5), "0.5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!switched)
    GTEST_SKIP() << "no locale with a decimal comma installed; checked in the C locale only";
}

TEST(TextToDouble, OverflowThrowsUnderflowGoesToZero) {
  EXPECT_THROW(TextToDouble("1e400"), func::FloatOverflow);
  EXPECT_THROW(TextToDouble("-1e400"), func::FloatOverflow);
  EXPECT_THROW(TextToDouble("1.8e308"), func::FloatOverflow);
  EXPECT_THROW(TextToDouble("0.000001e400"), func::FloatOverflow);
  EXPECT_THROW(TextToDouble("1e99999999999999999999"), func::FloatOverflow);
  EXPECT_STREQ(func::FloatOverflow{}.what(), "浮動小数点数のオーバーフロー");
  // Many digits that are still in range are no overflow.
  EXPECT_EQ(TextToDouble("1000000000000000000000e-21"), 1.0);
  EXPECT_EQ(TextToDouble("0e99999"), 0.0);
  EXPECT_EQ(TextToDouble("1e-400"), 0.0);
  EXPECT_EQ(TextToDouble("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(TextToDouble("100000e-400"), 0.0);
  const double tiny = TextToDouble("5e-324");
  EXPECT_TRUE(tiny == 0.0 || tiny == std::numeric_limits<double>::denorm_min()) << tiny;
  EXPECT_EQ(TextToDoubleOrZero("1e400"), 0.0);
  EXPECT_EQ(TextToDoubleOrZero("-1e400"), 0.0);
  EXPECT_EQ(TextToDoubleOrZero("2.5"), 2.5);
  EXPECT_EQ(TextToDoubleOrZero("x"), 0.0);
}

TEST(FormatGeneral, FixedNotationExamples) {
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(-0.0), "0");
  EXPECT_EQ(FormatGeneral(0.5), "0.5");
  EXPECT_EQ(FormatGeneral(10), "10");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(0.2), "0.2");
  EXPECT_EQ(FormatGeneral(-2.5), "-2.5");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(FormatGeneral(123456.789), "123456.789");
  EXPECT_EQ(FormatGeneral(100), "100");
  EXPECT_EQ(FormatGeneral(999999999999999.0), "999999999999999");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral(0.00012345), "0.00012345");
  // Just below 0.0001 but 0.0001 once rounded to 15 digits.
  EXPECT_EQ(FormatGeneral(0.0000999999999999999999), "0.0001");
}

TEST(FormatGeneral, ScientificNotationExamples) {
  EXPECT_EQ(FormatGeneral(0.00001), "1E-5");
  EXPECT_EQ(FormatGeneral(0.000015), "1.5E-5");
  EXPECT_EQ(FormatGeneral(-0.000015), "-1.5E-5");
  EXPECT_EQ(FormatGeneral(1e15), "1E15");
  EXPECT_EQ(FormatGeneral(-2.5e20), "-2.5E20");
  EXPECT_EQ(FormatGeneral(123456789012345678.0), "1.23456789012346E17");
  // Rounds up to 10^15, so it takes the other notation.
  EXPECT_EQ(FormatGeneral(999999999999999.9), "1E15");
  EXPECT_EQ(FormatGeneral(1e100), "1E100");
  // Rounded to 15 digits it would lie past the range: the largest 15-digit
  // number below it is written instead.
  EXPECT_EQ(FormatGeneral(1.7976931348623157e308), "1.79769313486231E308");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

TEST(FormatGeneral, NotANumberAndInfinity) {
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::infinity()), "-INF");
  // They do not read back as numbers.
  EXPECT_EQ(TextToDouble("NAN"), 0.0);
  EXPECT_EQ(TextToDouble("INF"), 0.0);
}

// Found by fuzzing: the largest double read from a settings file was written
// back as a number too large to read, which stopped the next start-up.
TEST(FormatGeneral, TheLargestDoublesReadBack) {
  for (const char* read : {"1.7976931348623157e308", "-1.7976931348623156e308"}) {
    const std::string written = FormatGeneral(TextToDouble(read));
    double back = 0;
    ASSERT_NO_THROW(back = TextToDouble(written)) << read << " written as " << written;
    EXPECT_EQ(std::fabs(back), 1.79769313486231e308) << written;
  }
}

// A double with at most 15 significant digits survives writing and reading.
TEST(FormatGeneral, RoundTripsThroughTextToDouble) {
  std::mt19937_64 random(20261208);
  std::uniform_int_distribution<long long> mantissa(1, 999'999'999'999'999LL);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_int_distribution<int> sign(0, 1);
  for (int i = 0; i < 4000; ++i) {
    const std::string decimal = (sign(random) ? "-" : "") + std::to_string(mantissa(random)) + "e" +
                                std::to_string(exponent(random));
    const double value = TextToDouble(decimal);
    const std::string text = FormatGeneral(value);
    ASSERT_EQ(TextToDouble(text), value) << decimal << " written as " << text;
    ASSERT_LE(text.size(), 21u) << text;  // fits the 21 characters read back
  }
}

TEST(FormatGeneral, NeverWritesTrailingZerosOrPoint) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int i = 0; i < 2000; ++i) {
    const double value = unit(random) * std::pow(10.0, exponent(random));
    const std::string text = FormatGeneral(value);
    const std::string mantissa = text.substr(0, text.find('E'));
    if (mantissa.find('.') != std::string::npos) {
      ASSERT_NE(mantissa.back(), '0') << text;
      ASSERT_NE(mantissa.back(), '.') << text;
    }
    std::size_t digits = 0;
    for (char c : mantissa) digits += c >= '0' && c <= '9';
    const bool fixed = text.find('E') == std::string::npos;
    // 15 significant digits, plus the leading zeros of a fixed 0.000ddd.
    ASSERT_LE(digits, fixed && value < 1 ? 15u + 4u : 15u) << text;
  }
}

}  // namespace
