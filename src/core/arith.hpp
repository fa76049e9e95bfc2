// Single-precision storage with extended-precision evaluation.
//
// Every stored real of the program is a `Real` (an IEEE single).  Arithmetic on
// `Real`, `Ext` and integers yields an `Ext` (the x87 80-bit extended type), so
// an expression is evaluated in extended precision from its stored operands and
// is rounded exactly once, when it is assigned to a `Real`.  Comparisons take
// the unrounded `Ext`.  Integer-only expressions stay plain `int` arithmetic.
//
// `Real` has no conversion to `float` or `double` and `Ext` none to anything
// but `Real`, so an expression cannot slip into float or double evaluation by
// accident: the only ways out are `Real` (rounds once), `trunc_int` (truncates
// toward zero) and the explicit accessors used by the console.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/elementary.hpp"

namespace amostra {

class Real;

class Ext {
 public:
  Ext() = default;
  // An integer count entering a real expression (exact in extended).  Only a
  // plain int converts: a floating literal must not slip in truncated.
  template <class I, std::enable_if_t<std::is_same_v<I, int>, int> = 0>
  Ext(I i) : v_(static_cast<long double>(i)) {}  // NOLINT(google-explicit-constructor)
  inline Ext(Real r);                              // NOLINT(google-explicit-constructor)
  static Ext of(long double v) {
    Ext e;
    e.v_ = v;
    return e;
  }
  long double value() const { return v_; }

 private:
  long double v_ = 0.0L;
};

class Real {
 public:
  Real() = default;
  // Assignment of an expression: one rounding to nearest single.
  Real(Ext e) : v_(static_cast<float>(e.value())) {}  // NOLINT(google-explicit-constructor)
  // A count stored in a real variable (`rn = n`).  Only a plain int converts.
  template <class I, std::enable_if_t<std::is_same_v<I, int>, int> = 0>
  Real(I i) : v_(static_cast<float>(i)) {}  // NOLINT(google-explicit-constructor)
  // A real constant written in the program, e.g. Real(1.96): a single constant.
  explicit Real(double constant) : v_(static_cast<float>(constant)) {}
  static Real bits(float f) {
    Real r;
    r.v_ = f;
    return r;
  }
  float value() const { return v_; }

  Real& operator+=(Ext e);
  Real& operator-=(Ext e);
  Real& operator*=(Ext e);
  Real& operator/=(Ext e);

 private:
  float v_ = 0.0f;
};

inline Ext::Ext(Real r) : v_(static_cast<long double>(r.value())) {}

inline Ext operator+(Ext a, Ext b) { return Ext::of(a.value() + b.value()); }
inline Ext operator-(Ext a, Ext b) { return Ext::of(a.value() - b.value()); }
inline Ext operator*(Ext a, Ext b) { return Ext::of(a.value() * b.value()); }
inline Ext operator/(Ext a, Ext b) { return Ext::of(a.value() / b.value()); }
inline Ext operator-(Ext a) { return Ext::of(-a.value()); }

inline bool operator<(Ext a, Ext b) { return a.value() < b.value(); }
inline bool operator>(Ext a, Ext b) { return a.value() > b.value(); }
inline bool operator<=(Ext a, Ext b) { return a.value() <= b.value(); }
inline bool operator>=(Ext a, Ext b) { return a.value() >= b.value(); }
inline bool operator==(Ext a, Ext b) { return a.value() == b.value(); }
inline bool operator!=(Ext a, Ext b) { return a.value() != b.value(); }

inline Real& Real::operator+=(Ext e) { return *this = *this + e; }
inline Real& Real::operator-=(Ext e) { return *this = *this - e; }
inline Real& Real::operator*=(Ext e) { return *this = *this * e; }
inline Real& Real::operator/=(Ext e) { return *this = *this / e; }

// x*x in extended precision, unrounded (the integer power 2).
inline Ext sq(Ext x) { return x * x; }

// Natural logarithm of a stored single, correctly rounded to extended; the
// result stays unrounded.
inline Ext ln(Real x) {
  const ExtParts p = ln_single(x.value());
  long double v = 0.0L;
  switch (p.kind) {
    case ExtParts::Kind::Finite: v = ldexpl(static_cast<long double>(p.significand), p.exponent - 63); break;
    case ExtParts::Kind::Infinite: v = HUGE_VALL; break;
    case ExtParts::Kind::NaN: v = std::numeric_limits<long double>::quiet_NaN(); break;
  }
  return Ext::of(p.negative ? -v : v);
}

// Exponential and real power: single operands, the exact result rounded to
// double and that double to single.
inline Real exp(Real x) { return Real::bits(exp_single(x.value())); }
inline Real pow(Real base, Real expo) { return Real::bits(pow_single(base.value(), expo.value())); }

// Square root in extended precision, unrounded.
inline Ext sqrt(Ext x) { return Ext::of(sqrtl(x.value())); }
inline Ext abs(Ext x) { return Ext::of(fabsl(x.value())); }

inline bool isnan(Ext x) { return x.value() != x.value(); }

// Real to integer conversion, truncating toward zero.  A value outside the
// 32-bit range (or not a number) gives the hardware's "integer indefinite",
// the most negative integer, as the x87 conversion does.
inline int trunc_int(Ext x) {
  long double v = x.value();
  if (!(v > -2147483649.0L && v < 2147483648.0L)) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace amostra
