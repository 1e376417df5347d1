#include "conversion/exact_bounds.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

using unit_val::AtOrAboveLowerBound;
using unit_val::BelowUpperBound;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Each case: the double nearest the bound is the value itself, but the exact
// bound lies on the other side of it, so rounding the bound to a double would
// give the opposite answer.
TEST(ExactBounds, UpperBoundAboveItsRoundedDouble) {
  // 1 + 0.000001 is a little more than the double 1.000001.
  EXPECT_TRUE(BelowUpperBound(1.000001, 1.0, 0.000001));
  EXPECT_TRUE(BelowUpperBound(1.2, 1.0, 0.2));
  EXPECT_TRUE(BelowUpperBound(3.3, 3.0, 0.3));
  // Spread exponents: 1e10 + 0.00001.
  EXPECT_TRUE(BelowUpperBound(10000000000.00001, 1e10, 0.00001));
  // The largest double plus one is still more than the largest double.
  EXPECT_TRUE(BelowUpperBound(DBL_MAX, DBL_MAX, 1.0));
}

TEST(ExactBounds, UpperBoundBelowItsRoundedDouble) {
  // 1 + 0.1 is a little less than the double 1.1: 1.1 is not below it.
  EXPECT_FALSE(BelowUpperBound(1.1, 1.0, 0.1));
  EXPECT_FALSE(BelowUpperBound(3.000001, 3.0, 0.000001));
  EXPECT_TRUE(BelowUpperBound(std::nextafter(1.1, 0.0), 1.0, 0.1));
}

TEST(ExactBounds, LowerBoundAboveItsRoundedDouble) {
  // 3 - 0.1 is a little more than the double 2.9: 2.9 is below the range.
  EXPECT_FALSE(AtOrAboveLowerBound(2.9, 3.0, 0.1));
  EXPECT_TRUE(AtOrAboveLowerBound(std::nextafter(2.9, 3.0), 3.0, 0.1));
  EXPECT_FALSE(AtOrAboveLowerBound(0.999999, 1.0, 0.000001));
  // Spread exponents: 1e10 - 0.000001.
  EXPECT_FALSE(AtOrAboveLowerBound(9999999999.999998, 1e10, 0.000001));
}

TEST(ExactBounds, LowerBoundInclusiveWhereExact) {
  EXPECT_TRUE(AtOrAboveLowerBound(2.5, 3.0, 0.5));
  EXPECT_FALSE(AtOrAboveLowerBound(std::nextafter(2.5, 0.0), 3.0, 0.5));
  EXPECT_FALSE(BelowUpperBound(3.5, 3.0, 0.5));
  EXPECT_TRUE(BelowUpperBound(std::nextafter(3.5, 0.0), 3.0, 0.5));
  // A tiny minus tolerance lowers the bound below 1 without reaching the
  // double under 1.
  EXPECT_TRUE(AtOrAboveLowerBound(1.0, 1.0, 1e-17));
  EXPECT_FALSE(AtOrAboveLowerBound(std::nextafter(1.0, 0.0), 1.0, 1e-17));
  // A negative minus tolerance raises the lower bound.
  EXPECT_FALSE(AtOrAboveLowerBound(1.0, 1.0, -1e-17));
}

TEST(ExactBounds, NominalStaysInsideWhereExtendedPrecisionWouldRound) {
  // 2^45 + 0.000001 rounds to 2^45 even with a 64-bit mantissa; the nominal
  // value must still lie inside its own range.
  const double nominal = std::ldexp(1.0, 45);
  EXPECT_TRUE(BelowUpperBound(nominal, nominal, 0.000001));
  EXPECT_FALSE(BelowUpperBound(std::nextafter(nominal, kInf), nominal, 0.000001));
}

TEST(ExactBounds, AgreesWithExtendedPrecisionWhereThatIsExact) {
  if (LDBL_MANT_DIG < 64) GTEST_SKIP() << "long double has no 64-bit mantissa here";
  // Exponents at most 6 apart: a 64-bit mantissa holds every bound exactly.
  const double values[] = {0.1, 0.2, 0.3, 0.7, 1.0, 1.1, 2.9, 3.0, 2.5, 7.0};
  for (double nominal : values) {
    for (double tol : values) {
      const long double up = static_cast<long double>(nominal) + tol;
      const long double low = static_cast<long double>(nominal) - tol;
      for (double x : {static_cast<double>(up), static_cast<double>(low), nominal,
                       std::nextafter(static_cast<double>(up), 0.0),
                       std::nextafter(static_cast<double>(low), 10.0)}) {
        EXPECT_EQ(BelowUpperBound(x, nominal, tol), x < up) << x << " " << nominal << " " << tol;
        EXPECT_EQ(AtOrAboveLowerBound(x, nominal, tol), low <= x)
            << x << " " << nominal << " " << tol;
      }
    }
  }
}

TEST(ExactBounds, HugeOperandsWhoseTwoSumOverflowsInside) {
  // a - DBL_MAX is finite, but the plain two-sum overflows on the way. The
  // exact difference lies just above its rounded double s.
  const double a = 7.335960577205595e+307;
  const double s = -1.0640970771417563e+308;
  ASSERT_EQ(a - DBL_MAX, s);
  EXPECT_FALSE(AtOrAboveLowerBound(s, a, DBL_MAX));
  EXPECT_TRUE(AtOrAboveLowerBound(std::nextafter(s, kInf), a, DBL_MAX));
  EXPECT_TRUE(BelowUpperBound(s, a, -DBL_MAX));
  // Mirrored: DBL_MAX - a lies just below its rounded double.
  EXPECT_FALSE(BelowUpperBound(-s, -a, DBL_MAX));
  EXPECT_TRUE(BelowUpperBound(std::nextafter(-s, 0.0), -a, DBL_MAX));
  EXPECT_TRUE(AtOrAboveLowerBound(-s, -a, -DBL_MAX));
}

TEST(ExactBounds, OverflowAndInfinities) {
  // DBL_MAX + DBL_MAX overflows, but is still a finite bound.
  EXPECT_TRUE(BelowUpperBound(DBL_MAX, DBL_MAX, DBL_MAX));
  EXPECT_FALSE(BelowUpperBound(kInf, DBL_MAX, DBL_MAX));
  EXPECT_TRUE(AtOrAboveLowerBound(-DBL_MAX, -DBL_MAX, DBL_MAX));
  EXPECT_FALSE(AtOrAboveLowerBound(-kInf, -DBL_MAX, DBL_MAX));
  // Truly infinite bounds.
  EXPECT_FALSE(BelowUpperBound(kInf, 1.0, kInf));
  EXPECT_TRUE(BelowUpperBound(DBL_MAX, 1.0, kInf));
  EXPECT_TRUE(AtOrAboveLowerBound(-kInf, 1.0, kInf));
}

TEST(ExactBounds, NaNNeverPasses) {
  EXPECT_FALSE(BelowUpperBound(kNaN, 1.0, 0.5));
  EXPECT_FALSE(AtOrAboveLowerBound(kNaN, 1.0, 0.5));
  EXPECT_FALSE(BelowUpperBound(1.0, kNaN, 0.5));
  EXPECT_FALSE(BelowUpperBound(1.0, 1.0, kNaN));
  EXPECT_FALSE(AtOrAboveLowerBound(1.0, 1.0, kNaN));
  EXPECT_FALSE(BelowUpperBound(1.0, kInf, -kInf));
}

}  // namespace
