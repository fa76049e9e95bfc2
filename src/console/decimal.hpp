// Exact conversions between decimal text and singles, in integer arithmetic
// only: the same result on every platform, whatever width `long double` has
// and whatever the C library's conversions do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace amostra {

// The single nearest to 0.<digits> x 10^point (ties to even; beyond the
// range an infinity, below half the smallest subnormal a zero).  `digits`
// holds n decimal digits, the first nonzero; `more` says that nonzero digits
// follow those given; `leading` is the integer value of the first min(n, 19)
// digits.  With n <= 19, `digits` may be null: they are those of `leading`.
// A positive result (the caller applies the sign).
float decimal_to_float(std::uint64_t leading, const char* digits, std::size_t n, bool more, long point);

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
