// The program's own natural logarithm, exponential and real power.
//
// They use nothing but integer arithmetic and IEEE double operations rounded
// once each, so every platform gives the same bits: no library's
// transcendental functions, no extended or quadruple `long double`, no fused
// multiply-add.  Each result is correctly rounded:
//
// - ln_single: the logarithm of a single, rounded to nearest (ties to even)
//   to a 64-bit significand, the x87 extended format;
// - exp_single, pow_single: the exact result rounded to nearest double, then
//   that double rounded to nearest single (the double precision evaluation of
//   single operands, followed by the assignment to a single).
//
// A double-double evaluation with a bound on its error answers almost every
// call.  When its bound cannot decide the rounding, the value is evaluated in
// binary fixed point on multi-word integers, again with a bound, and repeated
// with twice the precision until the rounding is decided.  Exact results (the
// powers that are dyadic numbers) are found and rounded directly.
#pragma once

#include <cstdint>

namespace amostra {

struct ExtParts {
  enum class Kind { Finite, Infinite, NaN } kind;
  bool negative;
  // Finite: value = significand * 2^(exponent - 63); the significand has its
  // top bit set, or is 0 for a zero.  Infinite and NaN carry the x87 encoding:
  // exponent 16384 (the all-ones biased exponent) and the significand bits
  // (1 << 63 for an infinity, the quiet bit set for a NaN).
  std::int32_t exponent;
  std::uint64_t significand;
};

// ln(+-0) = -inf, ln(negative) = the x87 default NaN (negative, indefinite),
// ln(+inf) = +inf, ln(NaN) = that NaN quieted, ln(1) = +0.
ExtParts ln_single(float x);

// exp(NaN) = NaN, exp(+inf) = +inf, exp(-inf) = +0.
float exp_single(float x);

// The special cases of the C and IEEE 754 pow: pow(x, +-0) = 1 and
// pow(+1, y) = 1 even for a NaN, pow(-1, +-inf) = 1, a negative finite base
// with a finite non-integer exponent gives a NaN, zeros and infinities give
// the signed zeros and infinities of the usual table, a negative base with an
// odd integer exponent gives a negative result.
float pow_single(float base, float expo);

namespace elementary_detail {
// The same evaluations starting from a chosen working precision (fractional
// bits of the fixed point), so that tests can force the refinement path.
ExtParts ln_single_from(float x, int start_bits);
float exp_single_from(float x, int start_bits);
float pow_single_from(float base, float expo, int start_bits);
// The constants of the double-double evaluation: ln 2 in three parts of 39,
// 39 and 53 bits; ln c_k (hi, lo) for c_k = round(2^23 / k) / 2^16, k = 91 ..
// 181; 2^(j/64) (hi, lo) for j = 0 .. 63.  They are compiled in, and derived
// again from the multi-word evaluation by a test that requires the two to be
// identical.
struct FastConstants {
  double ln2[3];
  double ln_c[91][2];
  double exp2[64][2];
};
const FastConstants& stored_constants();
FastConstants derived_constants();
// How many multi-word evaluations the last call on this thread needed: 0
// when the double-double evaluation (or a special or exact case) decided it,
// 1 when the starting precision did, more when it was refined.
int last_attempts();
}  // namespace elementary_detail

}  // namespace amostra
