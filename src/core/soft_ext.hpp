// The 80-bit extended format computed in software.
//
// A `SoftExt` holds exactly the bits of an x87 double-extended number: a sign,
// a 15-bit biased exponent and a 64-bit significand whose top bit is the
// explicit integer bit.  Every operation gives the bits the x87 unit gives with
// its precision control at 64 bits, rounding to nearest even and every
// exception masked: subnormal results, overflow to infinity, the "real
// indefinite" not-a-number (negative, quiet, significand 0xC000000000000000)
// for invalid operations, and the unit's choice among not-a-number operands
// (a quiet one before a signalling one, else the larger significand, quieted).
//
// Only canonical encodings occur: the integer bit is set exactly when the
// biased exponent is not zero (zeros and subnormals have it clear).
//
// Portable C++17: no intrinsics of any processor.  A 128-bit integer type is
// used where the compiler has one, 64-bit halves otherwise.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>

#if defined(__SIZEOF_INT128__) && !defined(AMOSTRA_NO_INT128)
#define AMOSTRA_HAVE_INT128 1
#endif

namespace amostra {

class SoftExt {
 public:
  constexpr SoftExt() = default;  // +0

  static constexpr SoftExt from_bits(std::uint16_t sign_exponent, std::uint64_t significand) {
    SoftExt x;
    x.se_ = sign_exponent;
    x.m_ = significand;
    return x;
  }
  constexpr std::uint16_t sign_exponent() const { return se_; }
  constexpr std::uint64_t significand() const { return m_; }

  static inline SoftExt from_int(int i);
  static inline SoftExt from_float(float f);
  // value = significand × 2^(exponent − 63), rounded once (exact when it fits).
  static SoftExt from_scaled(bool negative, std::int32_t exponent, std::uint64_t significand);
  static constexpr SoftExt infinity(bool negative) {
    return from_bits(static_cast<std::uint16_t>((negative ? 0x8000u : 0u) | 0x7FFFu), kTop);
  }
  // The x87 "real indefinite".
  static constexpr SoftExt default_nan() { return from_bits(0xFFFF, 0xC000000000000000ull); }

  // Rounded once to the nearest single (ties to even), subnormals included.
  inline float to_float() const;
  // Truncated toward zero; the most negative int when out of range or NaN.
  int trunc_int() const;

  constexpr bool is_nan() const { return (se_ & 0x7FFF) == 0x7FFF && (m_ << 1) != 0; }
  constexpr bool is_negative() const { return (se_ & 0x8000) != 0; }

  constexpr SoftExt operator-() const { return from_bits(static_cast<std::uint16_t>(se_ ^ 0x8000u), m_); }
  constexpr SoftExt abs() const { return from_bits(static_cast<std::uint16_t>(se_ & 0x7FFFu), m_); }

  friend inline SoftExt operator+(SoftExt a, SoftExt b) { return add(a, b, false); }
  friend inline SoftExt operator-(SoftExt a, SoftExt b) { return add(a, b, true); }
  friend inline SoftExt operator*(SoftExt a, SoftExt b);
  friend SoftExt operator/(SoftExt a, SoftExt b);
  friend SoftExt sqrt(SoftExt a);

  // -1, 0, +1, or 2 when unordered (a NaN); -0 equals +0.
  static inline int compare(SoftExt a, SoftExt b);

  // Two shortcuts for the commonest expressions on stored singles; each gives
  // exactly what the general operations give.
  //
  // The product of two singles taken to extended: always exact (24 x 24
  // bits, and the extended exponent range holds every such product), so it is
  // formed from the two significands without rounding.
  static inline SoftExt product(float a, float b);
  // a + b or a - b of two singles taken to extended, rounded to a single.  For
  // finite operands the exact sum either fits 64 bits (exponents at most 39
  // apart) or differs from the larger operand by less than 2^-16 of its unit
  // in the last place; either way the extended rounding cannot move it across
  // a single's halfway point, so the result is the sum correctly rounded to a
  // single: the processor's own single addition, where single expressions are
  // evaluated in single.  A not-a-number result (a NaN operand, or infinities
  // of opposite signs) takes the general path, whose choice of NaN is the
  // x87's rather than the processor's.
  static inline float sum_to_float(float a, float b, bool negate_b);

 private:
  static constexpr std::uint64_t kTop = 0x8000000000000000ull;
  static constexpr int kBias = 16383;

  // Whether a biased exponent is that of a normal number.
  static constexpr bool normal(unsigned e) { return e - 1u < 0x7FFEu; }

  static inline SoftExt add(SoftExt a, SoftExt b, bool negate_b);
  // The general cases, out of line: special operands, cancellation, subnormals.
  static SoftExt add_general(SoftExt a, SoftExt b, bool negate_b);
  static SoftExt mul_general(SoftExt a, SoftExt b);
  static SoftExt from_float_general(std::uint32_t bits);
  float to_float_general() const;

  std::uint64_t m_ = 0;
  std::uint16_t se_ = 0;
};

// The common cases inline: normal operands and a normal result.

inline SoftExt SoftExt::from_int(int i) {
  if (i == 0) return SoftExt();
  const bool neg = i < 0;
  std::uint64_t u = neg ? 0ull - static_cast<std::uint64_t>(static_cast<std::int64_t>(i)) : static_cast<std::uint64_t>(i);
  int s = 0;
#if defined(__GNUC__) || defined(__clang__)
  s = __builtin_clzll(u);
#else
  while (!(u << s & kTop)) ++s;
#endif
  return from_bits(static_cast<std::uint16_t>((neg ? 0x8000u : 0u) | static_cast<unsigned>(kBias + 63 - s)), u << s);
}

inline SoftExt SoftExt::from_float(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  unsigned e = (b >> 23) & 0xFFu;
  if (e - 1u < 254u)
    return from_bits(static_cast<std::uint16_t>(((b >> 16) & 0x8000u) | (e + kBias - 127)),
                     kTop | (static_cast<std::uint64_t>(b & 0x7FFFFFu) << 40));
  return from_float_general(b);
}

inline float SoftExt::to_float() const {
  unsigned e = se_ & 0x7FFFu;
  if (e - (kBias - 126) <= 253u) {  // a normal single before rounding
    std::uint64_t keep = (static_cast<std::uint64_t>(e - (kBias - 126)) << 23) + (m_ >> 40);
    std::uint64_t rest = m_ & ((1ull << 40) - 1);
    if (rest > (1ull << 39) || (rest == (1ull << 39) && (keep & 1))) ++keep;  // may carry up to infinity
    std::uint32_t bits = static_cast<std::uint32_t>(keep) | (static_cast<std::uint32_t>(se_ & 0x8000u) << 16);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  return to_float_general();
}

inline SoftExt SoftExt::add(SoftExt a, SoftExt b, bool negate_b) {
  unsigned sb = b.se_ ^ (negate_b ? 0x8000u : 0u);
  unsigned ea = a.se_ & 0x7FFFu, eb = sb & 0x7FFFu;
  if (!normal(ea) || !normal(eb)) return add_general(a, b, negate_b);
  std::uint64_t ma = a.m_, mb = b.m_;
  unsigned rsign = a.se_ & 0x8000u;  // the sign of the larger magnitude
  if (ea < eb || (ea == eb && ma < mb)) {
    unsigned t = ea;
    ea = eb;
    eb = t;
    std::uint64_t u = ma;
    ma = mb;
    mb = u;
    rsign = sb & 0x8000u;
  }
  const unsigned d = ea - eb;
  std::uint64_t small, rest;  // mb aligned: whole part and the 64 bits below
  if (d == 0) {
    small = mb;
    rest = 0;
  } else if (d < 64) {
    small = mb >> d;
    rest = mb << (64 - d);
  } else if (d == 64) {
    small = 0;
    rest = mb;
  } else {
    small = 0;
    rest = 1;  // nonzero, below half
  }
  std::uint64_t r;
  if (((a.se_ ^ sb) & 0x8000u) == 0) {
    r = ma + small;
    if (r < ma) {  // a 65-bit sum
      rest = (rest >> 1) | (rest & 1) | (r << 63);
      r = (r >> 1) | kTop;
      ++ea;
    }
  } else {
    // |a| > |b| here; with d >= 2 at most one bit cancels, and with d <= 64
    // the bits below the result are exact even after that one-bit shift.
    if (d < 2 || d > 64 || ea < 2) return add_general(a, b, negate_b);
    r = ma - small - (rest != 0);
    rest = 0 - rest;
    if (!(r & kTop)) {
      r = (r << 1) | (rest >> 63);
      rest <<= 1;
      --ea;
    }
  }
  if (rest > kTop || (rest == kTop && (r & 1))) {
    if (++r == 0) {
      r = kTop;
      ++ea;
    }
  }
  if (ea >= 0x7FFFu) return infinity(rsign != 0);
  return from_bits(static_cast<std::uint16_t>(rsign | ea), r);
}

inline SoftExt operator*(SoftExt a, SoftExt b) {
#ifdef AMOSTRA_HAVE_INT128
  unsigned ea = a.se_ & 0x7FFFu, eb = b.se_ & 0x7FFFu;
  if (SoftExt::normal(ea) && SoftExt::normal(eb)) {
    unsigned __int128 p = static_cast<unsigned __int128>(a.m_) * b.m_;
    std::uint64_t hi = static_cast<std::uint64_t>(p >> 64), lo = static_cast<std::uint64_t>(p);
    int e = static_cast<int>(ea + eb) - static_cast<int>(SoftExt::kBias) + 1;
    if (!(hi & SoftExt::kTop)) {
      hi = (hi << 1) | (lo >> 63);
      lo <<= 1;
      --e;
    }
    if (e >= 1) {
      if (lo > SoftExt::kTop || (lo == SoftExt::kTop && (hi & 1))) {
        if (++hi == 0) {
          hi = SoftExt::kTop;
          ++e;
        }
      }
      unsigned sign = (a.se_ ^ b.se_) & 0x8000u;
      if (e >= 0x7FFF) return SoftExt::infinity(sign != 0);
      return SoftExt::from_bits(static_cast<std::uint16_t>(sign | static_cast<unsigned>(e)), hi);
    }
  }
#endif
  return SoftExt::mul_general(a, b);
}

inline SoftExt SoftExt::product(float a, float b) {
  std::uint32_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  unsigned ex = (x >> 23) & 0xFFu, ey = (y >> 23) & 0xFFu;
  if (ex - 1u < 254u && ey - 1u < 254u) {
    std::uint64_t p = static_cast<std::uint64_t>((x & 0x7FFFFFu) | 0x800000u) * ((y & 0x7FFFFFu) | 0x800000u);
    unsigned e = ex + ey + kBias - 254;  // for a product in [1, 2)
    if (p >> 47) {
      ++e;
      p <<= 16;
    } else {
      p <<= 17;
    }
    return from_bits(static_cast<std::uint16_t>(((x ^ y) >> 16 & 0x8000u) | e), p);
  }
  return from_float(a) * from_float(b);
}

inline float SoftExt::sum_to_float(float a, float b, bool negate_b) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  const float r = negate_b ? a - b : a + b;
  if (r == r) return r;
#endif
  return add(from_float(a), from_float(b), negate_b).to_float();
}

inline int SoftExt::compare(SoftExt a, SoftExt b) {
  if (a.is_nan() || b.is_nan()) return 2;
  if ((a.m_ | b.m_) == 0) return 0;  // both zeros
  bool na = a.is_negative(), nb = b.is_negative();
  if (na != nb) return na ? -1 : 1;
  unsigned ea = a.se_ & 0x7FFFu, eb = b.se_ & 0x7FFFu;
  int mag = 0;
  if (ea != eb)
    mag = ea < eb ? -1 : 1;
  else if (a.m_ != b.m_)
    mag = a.m_ < b.m_ ? -1 : 1;
  return na ? -mag : mag;
}

inline bool operator<(SoftExt a, SoftExt b) { return SoftExt::compare(a, b) == -1; }
inline bool operator>(SoftExt a, SoftExt b) { return SoftExt::compare(a, b) == 1; }
inline bool operator<=(SoftExt a, SoftExt b) {
  int c = SoftExt::compare(a, b);
  return c == -1 || c == 0;
}
inline bool operator>=(SoftExt a, SoftExt b) {
  int c = SoftExt::compare(a, b);
  return c == 1 || c == 0;
}
inline bool operator==(SoftExt a, SoftExt b) { return SoftExt::compare(a, b) == 0; }
inline bool operator!=(SoftExt a, SoftExt b) { return SoftExt::compare(a, b) != 0; }

}  // namespace amostra
