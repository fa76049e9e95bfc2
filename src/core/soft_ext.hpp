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

#include <cstdint>

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

  static SoftExt from_int(int i);
  static SoftExt from_float(float f);
  // value = significand × 2^(exponent − 63), rounded once (exact when it fits).
  static SoftExt from_scaled(bool negative, std::int32_t exponent, std::uint64_t significand);
  static constexpr SoftExt infinity(bool negative) {
    return from_bits(static_cast<std::uint16_t>((negative ? 0x8000u : 0u) | 0x7FFFu), 0x8000000000000000ull);
  }
  // The x87 "real indefinite".
  static constexpr SoftExt default_nan() { return from_bits(0xFFFF, 0xC000000000000000ull); }

  // Rounded once to the nearest single (ties to even), subnormals included.
  float to_float() const;
  // Truncated toward zero; the most negative int when out of range or NaN.
  int trunc_int() const;

  constexpr bool is_nan() const { return (se_ & 0x7FFF) == 0x7FFF && (m_ << 1) != 0; }
  constexpr bool is_negative() const { return (se_ & 0x8000) != 0; }

  constexpr SoftExt operator-() const { return from_bits(static_cast<std::uint16_t>(se_ ^ 0x8000u), m_); }
  constexpr SoftExt abs() const { return from_bits(static_cast<std::uint16_t>(se_ & 0x7FFFu), m_); }

  friend SoftExt operator+(SoftExt a, SoftExt b);
  friend SoftExt operator-(SoftExt a, SoftExt b);
  friend SoftExt operator*(SoftExt a, SoftExt b);
  friend SoftExt operator/(SoftExt a, SoftExt b);
  friend SoftExt sqrt(SoftExt a);

  // -1, 0, +1, or 2 when unordered (a NaN); -0 equals +0.
  static int compare(SoftExt a, SoftExt b);

 private:
  std::uint64_t m_ = 0;
  std::uint16_t se_ = 0;
};

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
