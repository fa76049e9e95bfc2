// Exact conversions between decimal text and singles, in integer arithmetic
// only: the same result on every platform, whatever width `long double` has
// and whatever the C library's conversions do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace amostra {

// The single nearest to 0.<digits> x 10^point (ties to even; beyond the
// range an infinity, below half the smallest subnormal a zero).  `digits`
// holds n decimal digits, the first nonzero; `more` says that nonzero digits
// follow those given; `leading` is the integer value of the first min(n, 19)
// digits.  With n <= 19, `digits` may be null: they are those of `leading`.
// A positive result (the caller applies the sign).
float decimal_to_float_general(std::uint64_t leading, const char* digits, std::size_t n, bool more, long point);

namespace decimal_detail {

inline float from_bits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The single nearest to (top + fraction) x 2^exp2, where top has its bit 63
// set and `sticky` says that the fraction is nonzero; ties to even.
inline float round_to_single(std::uint64_t top, int exp2, bool sticky) {
  const int e = exp2 + 63;  // the value lies in [2^e, 2^(e+1))
  if (e > 127) return from_bits(0x7F800000u);
  int shift = 40;                   // keeps 24 bits
  if (e < -126) shift += -126 - e;  // subnormal: fewer bits
  if (shift > 64) return 0.0f;      // below half the smallest subnormal
  std::uint64_t mant = shift == 64 ? 0 : top >> shift;
  const std::uint64_t rest = shift == 64 ? top : top & ((std::uint64_t(1) << shift) - 1);
  const std::uint64_t half = std::uint64_t(1) << (shift - 1);
  if (rest > half || (rest == half && (sticky || (mant & 1) != 0))) ++mant;
  // A carry out of the significand moves into the exponent field by itself.
  std::uint64_t bits = e < -126 ? mant : (static_cast<std::uint64_t>(e + 126) << 23) + mant;
  if (bits >= 0x7F800000u) bits = 0x7F800000u;
  return from_bits(static_cast<std::uint32_t>(bits));
}

constexpr std::uint64_t kPow10Small[12] = {1,      10,      100,      1000,      10000,      100000,
                                           1000000, 10000000, 100000000, 1000000000, 10000000000, 100000000000};

// n / 10^m for 1 <= m <= 11, each by a constant divisor: the compiler turns
// it into a multiplication, where a division instruction would take dozens
// of cycles.
inline std::uint64_t divide_by_pow10(std::uint64_t n, int m) {
  switch (m) {
    case 1: return n / 10;
    case 2: return n / 100;
    case 3: return n / 1000;
    case 4: return n / 10000;
    case 5: return n / 100000;
    case 6: return n / 1000000;
    case 7: return n / 10000000;
    case 8: return n / 100000000;
    case 9: return n / 1000000000;
    case 10: return n / 10000000000ULL;
    default: return n / 100000000000ULL;
  }
}

}  // namespace decimal_detail

inline float decimal_to_float(std::uint64_t leading, const char* digits, std::size_t n, bool more, long point) {
  const long q = point - static_cast<long>(n);  // value = leading x 10^q
  if (n <= 19 && !more && q < 0 && q >= -11 && leading != 0) {
    // The usual typed datum: 10^-q < 2^37, so the quotient of the normalised
    // digits keeps at least 27 bits; the remainder tells whether more follow.
    const int lz = __builtin_clzll(leading);
    const std::uint64_t norm = leading << lz;
    const std::uint64_t quotient = decimal_detail::divide_by_pow10(norm, static_cast<int>(-q));
    const bool rest = norm - quotient * decimal_detail::kPow10Small[-q] != 0;
    const int lzq = __builtin_clzll(quotient);
    return decimal_detail::round_to_single(quotient << lzq, -lz - lzq, rest);
  }
  return decimal_to_float_general(leading, digits, n, more, point);
}

// The nonnegative finite single m rounded to d places, halves away from zero,
// as the decimal digits of that rounded value times 10^d: at least d + 1
// digits, zero-padded on the left.  `out` needs room for 48 + d digits (d is
// at most 1000).  Returns the number of digits.
std::size_t fixed_digits(float m, int d, char* out);

// The first n significant digits (1 <= n <= 40) of the positive finite single
// m, rounded half away from zero; returns the decimal exponent of the first
// digit (m is about d1.d2d3... x 10^exponent).
int scientific_digits(float m, int n, char* out);

}  // namespace amostra
