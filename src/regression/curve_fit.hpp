// Curvilinear regression: the sums over the pairs, the determinant rule and
// the fit of one of the four three-parameter curves by Cramer's rule.
#pragma once

#include "core/arith.hpp"
#include "regression/pairs.hpp"

namespace amostra {

// The seventeen sums over the pairs, formed once and shared by every fit.
struct CurveSums {
  Real sx, sy, sx2, sxy, sx3, sx4, sx2y;
  Real s1dx, sydx, s1dx2;
  Real slogx, slog2x, sxlogx, slogy, slogylogx, sxlogy, sx2logy;
};

CurveSums curve_sums(int n, const Column& xx, const Column& yy);

// A 3 x 3 matrix; the first digit of an entry's name is its row.
struct Matrix3 {
  Real a11, a12, a13;
  Real a21, a22, a23;
  Real a31, a32, a33;
};

// The determinant by the rule of Sarrus, in single precision: the two partial
// sums are stored before they are subtracted.
Real sarrus(const Matrix3& m);

// One fit of curve k (1 to 4).
struct CurveFit {
  Real det, deta, detb, detc;  // the determinant, then with column 1, 2 or 3 replaced
  Real a, b, c;                // coefficients of the linear form
  Real am, bm, cm;             // the parameters A, B and C of the curve
  Real seg;                    // sum of squared residuals
  Real ep;                     // standard error of regression
};

// Fits curve k to the `n` pairs (`nx` is the count as it enters the
// matrices); `y` receives the curve's value at every X.
CurveFit fit_curve(int k, int nx, const CurveSums& s, int n, const Column& xx, const Column& yy, Column& y);

}  // namespace amostra
