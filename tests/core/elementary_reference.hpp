// Correctly rounded references for ln, exp and pow (MPFR), and the arguments
// they are compared on: what a user of the program types and computes (data
// from 1e-6 to 1e7 with a few decimals, ratios, sums of squares, regression
// coefficients), values near 1, random bit patterns (tiny, huge, subnormal),
// and special values.  Shared by the short test and the long comparison run.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include <stdint.h>  // before mpfr.h: declares the intmax_t functions
#include <mpfr.h>

#include "core/elementary.hpp"

namespace amostra::reference {

inline float from_bits(std::uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}

inline std::uint32_t to_bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

// ln x rounded to nearest to a 64-bit significand.
inline ExtParts ln(float x) {
  mpfr_t a, r;
  mpfr_init2(a, 24);
  mpfr_init2(r, 64);
  mpfr_set_flt(a, x, MPFR_RNDN);
  mpfr_log(r, a, MPFR_RNDN);
  ExtParts p{ExtParts::Kind::Finite, mpfr_signbit(r) != 0, 0, 0};
  if (mpfr_nan_p(r)) {
    p.kind = ExtParts::Kind::NaN;
  } else if (mpfr_inf_p(r)) {
    p.kind = ExtParts::Kind::Infinite;
  } else if (!mpfr_zero_p(r)) {
    // r = m 2^e with 1/2 <= |m| < 1: the significand is |r| 2^(64 - e).
    const long e = static_cast<long>(mpfr_get_exp(r));
    mpfr_abs(r, r, MPFR_RNDN);
    mpfr_mul_2si(r, r, 64 - e, MPFR_RNDN);
    p.significand = static_cast<std::uint64_t>(mpfr_get_uj(r, MPFR_RNDN));
    p.exponent = static_cast<std::int32_t>(e - 1);
  }
  mpfr_clear(a);
  mpfr_clear(r);
  return p;
}

// Rounds r (53 bits, just computed with ternary value t) as a double would,
// subnormals included, and that double to single.
inline float double_then_single(mpfr_t r, int t) {
  t = mpfr_check_range(r, t, MPFR_RNDN);
  mpfr_subnormalize(r, t, MPFR_RNDN);
  return static_cast<float>(mpfr_get_d(r, MPFR_RNDN));
}

class DoubleRange {
 public:
  DoubleRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
    mpfr_set_emin(-1073);
    mpfr_set_emax(1024);
  }
  ~DoubleRange() {
    mpfr_set_emin(emin_);
    mpfr_set_emax(emax_);
  }
  DoubleRange(const DoubleRange&) = delete;
  DoubleRange& operator=(const DoubleRange&) = delete;

 private:
  mpfr_exp_t emin_, emax_;
};

inline float exp(float x) {
  DoubleRange range;
  mpfr_t a, r;
  mpfr_init2(a, 24);
  mpfr_init2(r, 53);
  mpfr_set_flt(a, x, MPFR_RNDN);
  const float f = double_then_single(r, mpfr_exp(r, a, MPFR_RNDN));
  mpfr_clear(a);
  mpfr_clear(r);
  return f;
}

inline float pow(float base, float expo) {
  DoubleRange range;
  mpfr_t a, b, r;
  mpfr_init2(a, 24);
  mpfr_init2(b, 24);
  mpfr_init2(r, 53);
  mpfr_set_flt(a, base, MPFR_RNDN);
  mpfr_set_flt(b, expo, MPFR_RNDN);
  const float f = double_then_single(r, mpfr_pow(r, a, b, MPFR_RNDN));
  mpfr_clear(a);
  mpfr_clear(b);
  mpfr_clear(r);
  return f;
}

inline bool same(const ExtParts& a, const ExtParts& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == ExtParts::Kind::NaN) return true;
  if (a.kind == ExtParts::Kind::Infinite) return a.negative == b.negative;
  return a.negative == b.negative && a.exponent == b.exponent && a.significand == b.significand;
}

// Equal bits, or both NaN (a NaN's sign and payload print alike).
inline bool same(float a, float b) { return to_bits(a) == to_bits(b) || (a != a && b != b); }

// The arguments, drawn from a seeded generator.
class Arguments {
 public:
  explicit Arguments(std::uint32_t seed) : gen_(seed) {}

  // A value typed by a user: 1e-6 to 1e7, rounded to 0 to 4 decimals.
  float typed() {
    const double mag = std::pow(10.0, uniform(-6.0, 7.0));
    const double scale = std::pow(10.0, static_cast<int>(gen_() % 5));
    const double v = std::round(mag * scale) / scale;
    return static_cast<float>(v == 0 ? mag : v);
  }
  // A computed quantity: a ratio or a sum of squares of typed values.
  float computed() {
    switch (gen_() % 3) {
      case 0: return static_cast<float>(static_cast<double>(typed()) / static_cast<double>(typed()));
      case 1: {
        double s = 0;
        const int n = 2 + static_cast<int>(gen_() % 30);
        for (int i = 0; i < n; ++i) {
          const double v = static_cast<float>(uniform(0.0, 1000.0));
          s += v * v;
        }
        return static_cast<float>(s);
      }
      default: return static_cast<float>(uniform(-50.0, 50.0));  // coefficients, scores
    }
  }
  // Within a few thousand units in the last place of 1.
  float near_one() {
    const int k = static_cast<int>(gen_() % 8192) - 4096;
    return from_bits(static_cast<std::uint32_t>(0x3F800000 + k));
  }
  float random_bits() { return from_bits(static_cast<std::uint32_t>(gen_())); }
  float special() {
    static const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 2.0f, 0.5f,
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::denorm_min(),
                                   std::numeric_limits<float>::min(),
                                   std::numeric_limits<float>::max(),
                                   -std::numeric_limits<float>::max(),
                                   -std::numeric_limits<float>::denorm_min()};
    return values[gen_() % (sizeof values / sizeof values[0])];
  }

  // An argument of ln: positive mostly, every kind.
  float ln_arg() {
    switch (gen_() % 8) {
      case 0: case 1: return typed();
      case 2: return computed();
      case 3: return near_one();
      case 4: return from_bits(static_cast<std::uint32_t>(gen_() % 0x800000U));  // subnormal
      case 5: return special();
      default: return from_bits(static_cast<std::uint32_t>(gen_() & 0x7FFFFFFFU));
    }
  }
  float exp_arg() {
    switch (gen_() % 8) {
      case 0: case 1: return static_cast<float>(uniform(-110.0, 95.0));
      case 2: return static_cast<float>(uniform(-1.0, 1.0) * std::pow(2.0, -uniform(0.0, 70.0)));
      case 3: return computed();
      case 4: return -typed();
      case 5: return special();
      case 6: return static_cast<float>(uniform(-104.5, -103.5) + (gen_() % 2) * (88.5 + 104.0));
      default: return random_bits();
    }
  }
  // A base and an exponent.
  void pow_args(float& base, float& expo) {
    switch (gen_() % 9) {
      case 0: case 1: base = typed(); expo = static_cast<float>(uniform(-10.0, 10.0)); break;
      case 2: base = computed(); expo = computed(); break;
      case 3: base = typed(); expo = static_cast<float>(static_cast<int>(gen_() % 41) - 20); break;
      case 4: base = -typed(); expo = static_cast<float>(static_cast<int>(gen_() % 41) - 20); break;
      case 5: base = typed(); expo = static_cast<float>(static_cast<int>(gen_() % 81) - 40) / 4.0f; break;
      case 6: base = near_one(); expo = static_cast<float>(std::pow(10.0, uniform(0.0, 8.0))); break;
      case 7: base = special(); expo = gen_() % 2 ? special() : computed(); break;
      default: base = random_bits(); expo = random_bits(); break;
    }
  }

 private:
  double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(gen_); }
  std::mt19937 gen_;
};

}  // namespace amostra::reference
