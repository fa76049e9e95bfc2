// The text of a single in an Fw.d field, as the program's records print it:
// the exact value rounded to d decimals with halves away from zero, the sign
// taken from the sign bit, "0." before the point only when the field has room,
// w asterisks when the number does not fit, NaN and infinities spelt out.
// Shared by the exhaustive precision checks in tools/ (standalone, x86).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace fw_field {

inline std::string text(float x, int w, int d) {
  if (std::isnan(x)) return w < 3 ? std::string(w, '*') : std::string(w - 3, ' ') + "NaN";
  if (std::isinf(x)) {
    const bool neg = x < 0;
    if (w < 3 || (w == 3 && neg)) return std::string(w, '*');
    if (w == 3) return "Inf";
    const std::string s = w <= 8 ? (neg ? "-Inf" : "+Inf") : (neg ? "-Infinity" : "+Infinity");
    return std::string(w - s.size(), ' ') + s;
  }
  // |x| = m * 2^e exactly, m < 2^24.
  std::uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const bool negative = bits >> 31;
  const int field = static_cast<int>((bits >> 23) & 0xFF);
  std::uint64_t m = bits & 0x7FFFFF;
  int e;
  if (field == 0) {
    e = -149;
  } else {
    m |= 0x800000;
    e = field - 150;
  }
  std::uint64_t scale = 1;
  for (int i = 0; i < d; ++i) scale *= 10;
  // n = |x| * 10^d rounded half away from zero; values beyond 2^40 never fit
  // the narrow fields checked here.
  std::uint64_t n;
  if (e >= 0) {
    if (e > 16) return std::string(w, '*');
    n = (m << e) * scale;
  } else {
    const unsigned __int128 v = static_cast<unsigned __int128>(m) * scale;
    const int s = -e;
    n = s >= 100 ? 0 : static_cast<std::uint64_t>((v + (static_cast<unsigned __int128>(1) << (s - 1))) >> s);
  }
  std::string digits = std::to_string(n);
  if (digits.size() < static_cast<std::size_t>(d) + 1) digits.insert(0, d + 1 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - d);
  const std::string frac = digits.substr(digits.size() - d);
  if (whole == "0") whole.clear();
  const std::size_t len = (negative ? 1 : 0) + whole.size() + 1 + d;
  if (static_cast<int>(len) > w) return std::string(w, '*');
  const bool zero = whole.empty() && static_cast<int>(len) < w;
  return std::string(w - len - (zero ? 1 : 0), ' ') + (negative ? "-" : "") + (zero ? "0" : "") + whole + "." + frac;
}

}  // namespace fw_field
