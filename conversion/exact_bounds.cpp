#include "conversion/exact_bounds.h"

#include <cmath>

namespace unit_val {

namespace {

// Knuth's two-sum error: (a + b) - s exactly, where s = a + b rounded.
double TwoSumError(double a, double b, double s) {
  const double bPart = s - a;
  const double aPart = s - bPart;
  return (a - aPart) + (b - bPart);
}

// A bound a + b as its rounded double and the sign of what the rounding
// dropped (-1, 0 or +1): a + b - rounded has the sign of `dropped`.
struct Bound {
  double rounded;
  int dropped;
};

int Sign(double v) {
  return (v > 0) - (v < 0);
}

Bound ExactBound(double a, double b) {
  const double s = a + b;
  if (std::isnan(s)) return {s, 0};
  if (std::isinf(s)) {
    // Finite operands that overflowed: the exact sum lies short of the
    // infinity. Otherwise the bound is the infinity itself.
    const bool overflowed = std::isfinite(a) && std::isfinite(b);
    return {s, overflowed ? -Sign(s) : 0};
  }
  double error = TwoSumError(a, b, s);
  if (!std::isfinite(error)) {
    // The two-sum's inner differences can overflow when both operands are
    // near the largest double; halving them is exact there and keeps the
    // error's sign.
    error = TwoSumError(a * 0.5, b * 0.5, s * 0.5);
  }
  return {s, Sign(error)};
}

}  // namespace

// With rounding to nearest, a double x other than the rounded bound lies on
// the same side of the exact bound as of the rounded one; only x equal to the
// rounded bound needs the sign of what was dropped. NaN compares unequal and
// neither below nor above, so it never passes.

bool AtOrAboveLowerBound(double x, double nominal, double minusTolerance) {
  const Bound bound = ExactBound(nominal, -minusTolerance);
  if (x != bound.rounded) return x > bound.rounded;
  return bound.dropped <= 0;
}

bool BelowUpperBound(double x, double nominal, double plusTolerance) {
  const Bound bound = ExactBound(nominal, plusTolerance);
  if (x != bound.rounded) return x < bound.rounded;
  return bound.dropped > 0;
}

}  // namespace unit_val
