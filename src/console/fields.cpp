#include "console/fields.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace amostra {
namespace {

void put_stars(Record& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

void put_right(Record& out, const char* s, std::size_t len, int w) {
  if (static_cast<int>(len) < w) out.append(static_cast<std::size_t>(w) - len, ' ');
  out.append(s, len);
}

void put_right(Record& out, const char* s, int w) { put_right(out, s, std::strlen(s), w); }

// Adds one unit to the last digit of a digit string; returns true on a carry
// out of the first digit.
bool increment(char* digits, std::size_t n) {
  for (std::size_t i = n; i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

// The decimal digits of the nonnegative finite single m rounded to d places,
// halves away from zero: `digits` holds the rounded value times 10^d, at least
// d + 1 digits (zero-padded on the left).  Returns their number.
std::size_t scaled_digits(float m, int d, char* digits, std::size_t capacity) {
  int e = 0;
  const float f = std::frexp(m, &e);  // m = f * 2^e, 0.5 <= f < 1
  const auto mant = static_cast<std::uint64_t>(std::ldexp(f, 24));
  const int shift = e - 24;  // m = mant * 2^shift, exactly
  std::size_t n = 0;
  if (m == 0.0f || (d <= 17 && shift <= 40)) {
    // floor(m * 10^(d+1)) in 128-bit integers: its last digit decides the rounding.
    unsigned __int128 scaled = mant;
    for (int k = 0; k <= d; ++k) scaled *= 10;
    if (shift >= 0) scaled <<= shift;
    else scaled = -shift >= 128 ? 0 : scaled >> -shift;
    const bool up = scaled % 10 >= 5;
    scaled /= 10;
    if (up) ++scaled;
    char reversed[48];
    std::size_t r = 0;
    do {
      reversed[r++] = static_cast<char>('0' + static_cast<int>(scaled % 10));
      scaled /= 10;
    } while (scaled != 0);
    while (r < static_cast<std::size_t>(d) + 1) reversed[r++] = '0';
    for (std::size_t i = 0; i < r; ++i) digits[n++] = reversed[r - 1 - i];
    return n;
  }
  // Very large values or many places: the exact expansion from the C
  // library, cut after place d + 1 and rounded here.
  int places = shift >= 0 ? 0 : (-shift > 149 ? 149 : -shift);
  if (places < d + 1) places = d + 1;
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", places, static_cast<double>(m));  // exact
  const char* point = std::strchr(buf, '.');
  for (const char* p = buf; p < point + 2 + d && n + 1 < capacity; ++p)
    if (*p != '.') digits[n++] = *p;
  const bool up = digits[n - 1] >= '5';
  --n;
  if (up && increment(digits, n)) {
    std::memmove(digits + 1, digits, n);
    digits[0] = '1';
    ++n;
  }
  return n;
}

// NaN and infinities in a field of w columns (shared by Fw.d and list output).
bool put_special(Record& out, float x, int w) {
  if (std::isnan(x)) {
    if (w < 3) put_stars(out, w);
    else put_right(out, "NaN", w);
    return true;
  }
  if (std::isinf(x)) {
    bool neg = x < 0;
    if (w < 3 || (w == 3 && neg)) put_stars(out, w);
    else if (w == 3) out += "Inf";
    else if (w <= 8) put_right(out, neg ? "-Inf" : "+Inf", w);
    else put_right(out, neg ? "-Infinity" : "+Infinity", w);
    return true;
  }
  return false;
}

}  // namespace

void put_a(Record& out, std::string_view text, int w) {
  auto uw = static_cast<std::size_t>(w < 0 ? 0 : w);
  if (uw <= text.size()) {
    out.append(text.substr(0, uw));
  } else {
    out.append(uw - text.size(), ' ');
    out.append(text);
  }
}

void put_i(Record& out, int v, int w) {
  char buf[16];
  char* p = buf + sizeof buf;
  auto mag = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
  do {
    *--p = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
  if (v < 0) *--p = '-';
  auto len = static_cast<std::size_t>(buf + sizeof buf - p);
  if (static_cast<int>(len) > w) put_stars(out, w);
  else put_right(out, p, len, w);
}

void put_f(Record& out, float x, int w, int d) {
  if (put_special(out, x, w)) return;
  char digits[128];
  const std::size_t n = scaled_digits(std::fabs(x), d, digits, sizeof digits);
  // Integer digits without leading zeros (none when the integer part is 0).
  std::size_t first = 0;
  const std::size_t int_len = n - static_cast<std::size_t>(d);
  while (first < int_len && digits[first] == '0') ++first;
  char field[160];
  std::size_t k = 0;
  if (std::signbit(x)) field[k++] = '-';
  const bool no_integer = first == int_len;
  const std::size_t len = k + (int_len - first) + 1 + static_cast<std::size_t>(d);
  if (static_cast<int>(len) > w) {
    put_stars(out, w);
    return;
  }
  if (no_integer && static_cast<int>(len) < w) field[k++] = '0';  // 0.50, not .50
  for (std::size_t i = first; i < int_len; ++i) field[k++] = digits[i];
  field[k++] = '.';
  for (std::size_t i = int_len; i < n; ++i) field[k++] = digits[i];
  put_right(out, field, k, w);
}

void put_list_int(Record& out, int v) { put_i(out, v, 11); }

void put_list_real(Record& out, float x) {
  if (put_special(out, x, 15)) return;
  float m = std::fabs(x);
  long double lm = m;
  if (m == 0.0f || (lm >= 0.0999999995L && lm < 99999999.5L)) {
    // Fixed point with eight significant digits in 11 columns, then 4 blanks.
    int d = 8;
    for (float decade = 1.0f; d > 0 && m >= decade; decade *= 10.0f) --d;
    if (m == 0.0f) d = 7;
    put_f(out, x, 11, d);
    out.append(4, ' ');
    return;
  }
  // Exponent form: one digit, the point, eight digits, E and a signed
  // two-digit exponent, rounded half away from zero from the exact value.
  char buf[160];
  std::snprintf(buf, sizeof buf, "%.120e", static_cast<double>(m));  // exact digits
  const char* e = std::strchr(buf, 'e');
  int expo = std::atoi(e + 1);
  char digits[9];
  digits[0] = buf[0];
  std::memcpy(digits + 1, buf + 2, 8);
  if (buf[10] >= '5' && increment(digits, 9)) {
    std::memmove(digits + 1, digits, 8);
    digits[0] = '1';
    ++expo;
  }
  char field[32];
  int len = std::snprintf(field, sizeof field, "%s%c.%.8sE%c%02d", std::signbit(x) ? "-" : "", digits[0],
                          digits + 1, expo < 0 ? '-' : '+', expo < 0 ? -expo : expo);
  put_right(out, field, static_cast<std::size_t>(len), 15);
}

}  // namespace amostra
