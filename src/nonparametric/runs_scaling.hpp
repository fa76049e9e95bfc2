// Measurements of the runs test become whole numbers: each typed value is
// multiplied by the integer 10^casa and taken to the nearest integer.
#pragma once

#include <climits>

#include "core/arith.hpp"

namespace amostra {

// Largest number of decimals whose factor 10^casa fits a 32-bit integer.
constexpr int kRunsMaxDecimals = 9;

// The integer power 10^casa, for casa up to kRunsMaxDecimals.  A negative
// number of decimals gives the integer power's value 0 (1 / 10^-casa in
// integer arithmetic), so every measurement then becomes 0.
inline int decimal_factor(int casa) {
  if (casa < 0) return 0;
  int factor = 1;
  for (int k = 0; k < casa; ++k) factor *= 10;
  return factor;
}

// x * factor, formed in extended precision from the stored single (exactly:
// both operands are short), then taken to the nearest integer with halves away
// from zero.  Truncating instead would merge distinct data: 2.57 is held as
// 2.5699999..., and with 2 decimals it must give 257, not 256.  A product
// beyond the 32-bit range (or not a number) gives the most negative integer,
// as a real-to-integer conversion out of range does.
inline int scale_to_nearest(Real x, int factor) {
  Ext v = x * factor;
  if (!(v > Ext(INT_MIN) - Ext::half() && v < Ext(INT_MAX) + Ext::half())) return INT_MIN;
  int whole = trunc_int(v);
  Ext fraction = v - whole;  // exact: the bits below the units of v
  if (fraction >= Ext::half()) return whole + 1;
  if (fraction <= -Ext::half()) return whole - 1;
  return whole;
}

}  // namespace amostra
