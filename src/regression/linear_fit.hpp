// One fit of the linear and linearised regression: the pairs transformed for
// the chosen model, their sums, the correlation and regression coefficients,
// and the standard error of the estimates on the pairs as typed.
#pragma once

#include "core/arith.hpp"
#include "regression/pairs.hpp"

namespace amostra {

struct LinearFit {
  Real ssx, ssy, ssx2, ssy2, ssxy;  // sums of the transformed pairs
  Real covxy, varx, vary;           // corrected sums of products and squares
  Real r, r2;                       // correlation and determination
  Real a, b;                        // intercept (e^a for models 4 and 5) and slope
  Real somer;                       // sum of squared residuals, untransformed
  Real erro;                        // standard error of the estimates
};

// Model codes: 1 straight line, 2 hyperbolic, 3 logarithmic, 4 exponential,
// 5 power; any other code is fitted as the straight line.  `x` and `y`
// receive the transformed pairs.  Every sum starts at zero.
LinearFit fit_linear(int icod, int n, const Column& xx, const Column& yy, Column& x, Column& y);

}  // namespace amostra
