// Single-precision storage with extended-precision evaluation.
//
// Every stored real of the program is a `Real` (an IEEE single).  Arithmetic on
// `Real`, `Ext` and integers yields an `Ext` (the 80-bit extended format: 64-bit
// significand, 15-bit exponent), so an expression is evaluated in extended
// precision from its stored operands and is rounded exactly once, when it is
// assigned to a `Real`.  Comparisons take the unrounded `Ext`.  Integer-only
// expressions stay plain `int` arithmetic.
//
// `Real` has no conversion to `float` or `double` and `Ext` none to anything
// but `Real`, so an expression cannot slip into float or double evaluation by
// accident: the only ways out are `Real` (rounds once), `trunc_int` (truncates
// toward zero) and the explicit accessors used by the console.
//
// Which representation an `Ext` holds is chosen when the program is built: the
// processor's `long double` where that is the x87 extended format (x86), the
// software type `SoftExt` everywhere else, or on x86 too when AMOSTRA_SOFT_EXT
// is defined.  Both give the same bits for every operation.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/elementary.hpp"
#include "core/soft_ext.hpp"

#if !defined(AMOSTRA_SOFT_EXT) && !((defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64)
#define AMOSTRA_SOFT_EXT 1
#endif

namespace amostra {

// The representation and the few primitive operations that differ between the
// two; everything else is written once on top of them.
#ifdef AMOSTRA_SOFT_EXT
using ExtRep = SoftExt;
inline ExtRep rep_from_int(int i) { return SoftExt::from_int(i); }
inline ExtRep rep_from_float(float f) { return SoftExt::from_float(f); }
inline float rep_to_float(ExtRep v) { return v.to_float(); }
inline ExtRep rep_sqrt(ExtRep v) { return sqrt(v); }
inline ExtRep rep_abs(ExtRep v) { return v.abs(); }
inline bool rep_isnan(ExtRep v) { return v.is_nan(); }
inline int rep_trunc_int(ExtRep v) { return v.trunc_int(); }
inline ExtRep rep_scaled(bool negative, std::int32_t exponent, std::uint64_t significand) {
  return SoftExt::from_scaled(negative, exponent, significand);
}
inline ExtRep rep_infinity(bool negative) { return SoftExt::infinity(negative); }
inline ExtRep rep_nan(bool negative) { return negative ? SoftExt::default_nan() : -SoftExt::default_nan(); }
#else
using ExtRep = long double;
inline ExtRep rep_from_int(int i) { return static_cast<long double>(i); }
inline ExtRep rep_from_float(float f) { return static_cast<long double>(f); }
inline float rep_to_float(ExtRep v) { return static_cast<float>(v); }
inline ExtRep rep_sqrt(ExtRep v) { return sqrtl(v); }
inline ExtRep rep_abs(ExtRep v) { return fabsl(v); }
inline bool rep_isnan(ExtRep v) { return v != v; }
inline int rep_trunc_int(ExtRep v) {
  // A value outside the 32-bit range (or not a number) gives the hardware's
  // "integer indefinite", the most negative integer.
  if (!(v > -2147483649.0L && v < 2147483648.0L)) return INT_MIN;
  return static_cast<int>(v);
}
inline ExtRep rep_scaled(bool negative, std::int32_t exponent, std::uint64_t significand) {
  long double v = ldexpl(static_cast<long double>(significand), exponent - 63);  // exact: 64 bits
  return negative ? -v : v;
}
inline ExtRep rep_infinity(bool negative) { return negative ? -HUGE_VALL : HUGE_VALL; }
inline ExtRep rep_nan(bool negative) {
  long double q = std::numeric_limits<long double>::quiet_NaN();  // positive, quiet bit only
  return negative ? -q : q;
}
#endif

class Real;

class Ext {
 public:
  Ext() = default;
  // An integer count entering a real expression (exact in extended).  Only a
  // plain int converts: a floating literal must not slip in truncated.
  template <class I, std::enable_if_t<std::is_same_v<I, int>, int> = 0>
  Ext(I i) : v_(rep_from_int(i)) {}  // NOLINT(google-explicit-constructor)
  inline Ext(Real r);                  // NOLINT(google-explicit-constructor)

  // One half, exactly.
  static inline Ext half();

  // A number given by its parts: `kind` (Parts::Kind::Finite, Infinite or
  // NaN), `negative`, and for a finite number value = significand ×
  // 2^(exponent − 63), the significand's top bit set (or 0 for a zero).
  // Exact in either representation.
  template <class Parts>
  static Ext from_parts(const Parts& p) {
    using Kind = typename Parts::Kind;
    if (p.kind == Kind::Finite) return of_rep(rep_scaled(p.negative, p.exponent, p.significand));
    if (p.kind == Kind::Infinite) return of_rep(rep_infinity(p.negative));
    return of_rep(rep_nan(p.negative));  // quiet, significand 0xC000000000000000
  }

  // The representation, for the arithmetic's own tests.
  static Ext of_rep(ExtRep v) {
    Ext e;
    e.v_ = v;
    return e;
  }
  ExtRep rep() const { return v_; }

 private:
  ExtRep v_ = rep_from_int(0);
};

class Real {
 public:
  Real() = default;
  // Assignment of an expression: one rounding to nearest single.
  Real(Ext e) : v_(rep_to_float(e.rep())) {}  // NOLINT(google-explicit-constructor)
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
  // A stored single added to or taken from another (`soma = soma + x`): the
  // same one rounding of the extended sum, by a shorter way where the
  // arithmetic is the software type.  Only a Real matches.
  template <class R, std::enable_if_t<std::is_same_v<R, Real>, int> = 0>
  Real& operator+=(const R& r);
  template <class R, std::enable_if_t<std::is_same_v<R, Real>, int> = 0>
  Real& operator-=(const R& r);
  Real& operator*=(Ext e);
  Real& operator/=(Ext e);

 private:
  float v_ = 0.0f;
};

inline Ext::Ext(Real r) : v_(rep_from_float(r.value())) {}

inline Ext operator+(Ext a, Ext b) { return Ext::of_rep(a.rep() + b.rep()); }
inline Ext operator-(Ext a, Ext b) { return Ext::of_rep(a.rep() - b.rep()); }
inline Ext operator*(Ext a, Ext b) { return Ext::of_rep(a.rep() * b.rep()); }
inline Ext operator/(Ext a, Ext b) { return Ext::of_rep(a.rep() / b.rep()); }
inline Ext operator-(Ext a) { return Ext::of_rep(-a.rep()); }

// The product of two stored singles (always exact in extended); where the
// arithmetic is the software type it is formed directly from the two
// significands.  Only two Reals match: a Real times an int stays an Ext product.
template <class R, std::enable_if_t<std::is_same_v<R, Real>, int> = 0>
inline Ext operator*(const R& a, const R& b) {
#ifdef AMOSTRA_SOFT_EXT
  return Ext::of_rep(SoftExt::product(a.value(), b.value()));
#else
  return Ext(a) * Ext(b);
#endif
}

inline Ext Ext::half() { return Ext(1) / Ext(2); }

inline bool operator<(Ext a, Ext b) { return a.rep() < b.rep(); }
inline bool operator>(Ext a, Ext b) { return a.rep() > b.rep(); }
inline bool operator<=(Ext a, Ext b) { return a.rep() <= b.rep(); }
inline bool operator>=(Ext a, Ext b) { return a.rep() >= b.rep(); }
inline bool operator==(Ext a, Ext b) { return a.rep() == b.rep(); }
inline bool operator!=(Ext a, Ext b) { return a.rep() != b.rep(); }

inline Real& Real::operator+=(Ext e) { return *this = *this + e; }
inline Real& Real::operator-=(Ext e) { return *this = *this - e; }
inline Real& Real::operator*=(Ext e) { return *this = *this * e; }

template <class R, std::enable_if_t<std::is_same_v<R, Real>, int>>
inline Real& Real::operator+=(const R& r) {
#ifdef AMOSTRA_SOFT_EXT
  v_ = SoftExt::sum_to_float(v_, r.value(), false);
  return *this;
#else
  return *this = Ext(*this) + Ext(r);
#endif
}
template <class R, std::enable_if_t<std::is_same_v<R, Real>, int>>
inline Real& Real::operator-=(const R& r) {
#ifdef AMOSTRA_SOFT_EXT
  v_ = SoftExt::sum_to_float(v_, r.value(), true);
  return *this;
#else
  return *this = Ext(*this) - Ext(r);
#endif
}
inline Real& Real::operator/=(Ext e) { return *this = *this / e; }

// x*x in extended precision, unrounded (the integer power 2).
inline Ext sq(Ext x) { return x * x; }

// Natural logarithm of a stored single, correctly rounded to extended (the
// program's own, the same on every platform); the result stays unrounded.
inline Ext ln(Real x) { return Ext::from_parts(ln_single(x.value())); }

// Exponential and real power: single operands, the exact result rounded to
// double and that double to single.
inline Real exp(Real x) { return Real::bits(exp_single(x.value())); }
inline Real pow(Real base, Real expo) { return Real::bits(pow_single(base.value(), expo.value())); }

// Square root in extended precision, unrounded.
inline Ext sqrt(Ext x) { return Ext::of_rep(rep_sqrt(x.rep())); }
inline Ext abs(Ext x) { return Ext::of_rep(rep_abs(x.rep())); }

inline bool isnan(Ext x) { return rep_isnan(x.rep()); }

// Real to integer conversion, truncating toward zero.  A value outside the
// 32-bit range (or not a number) gives the hardware's "integer indefinite",
// the most negative integer, as the x87 conversion does.
inline int trunc_int(Ext x) { return rep_trunc_int(x.rep()); }

}  // namespace amostra
