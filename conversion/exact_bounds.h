// Comparing a value with a bound `nominal ± tolerance` as if the bound were
// formed without any rounding.
//
// The bound is formed as a double s plus the exact rounding error e (Knuth's
// two-sum), and the comparison is decided by s and the sign of e. This is
// exact on every compiler, so it never depends on whether `long double` has a
// 64-bit mantissa (it has on GCC for x86-64, not on MSVC). It is chosen over
// rounding the bound to a 64-bit mantissa because that rounding can itself
// give the wrong side: with a nominal value of 2^45 and a plus tolerance of
// 0.000001 the bound would round down to the nominal value and leave the
// nominal value outside its own range.
#pragma once

namespace unit_val {

// nominal - minusTolerance <= x, exactly. False when anything is NaN.
bool AtOrAboveLowerBound(double x, double nominal, double minusTolerance);
// x < nominal + plusTolerance, exactly. False when anything is NaN.
bool BelowUpperBound(double x, double nominal, double plusTolerance);

}  // namespace unit_val
