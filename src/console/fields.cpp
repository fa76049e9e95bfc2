#include "console/fields.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "console/decimal.hpp"

namespace amostra {
namespace {

void put_stars(Record& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

void put_right(Record& out, const char* s, std::size_t len, int w) {
  if (static_cast<int>(len) < w) out.append(static_cast<std::size_t>(w) - len, ' ');
  out.append(s, len);
}

void put_right(Record& out, const char* s, int w) { put_right(out, s, std::strlen(s), w); }

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

void put_i_general(Record& out, int v, int w) {
  auto mag = v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
  int len = v < 0 ? 2 : 1;
  for (unsigned rest = mag; rest >= 10; rest /= 10) ++len;
  if (len > w) {
    put_stars(out, w);
    return;
  }
  // Blanks, then the digits written from the right end of the field.
  char* d = out.extend(static_cast<std::size_t>(w));
  if (w <= 16) std::memset(d, ' ', 16);
  else std::memset(d, ' ', static_cast<std::size_t>(w));
  char* e = d + w;
  do {
    *--e = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
  if (v < 0) *--e = '-';
}

void put_f(Record& out, float x, int w, int d) {
  if (put_special(out, x, w)) return;
  if (d < 0) d = 0;
  // The digits of the rounded value times 10^d, at least d + 1 of them.
  char small[160];
  std::vector<char> large;
  char* digits = small;
  if (d > 100) {
    large.resize(static_cast<std::size_t>(d) + 64);
    digits = large.data();
  }
  const std::size_t n = fixed_digits(std::fabs(x), d, digits);
  // Integer digits without leading zeros (none when the integer part is 0).
  std::size_t first = 0;
  const std::size_t int_len = n - static_cast<std::size_t>(d);
  while (first < int_len && digits[first] == '0') ++first;
  const bool negative = std::signbit(x);
  const bool no_integer = first == int_len;
  const std::size_t len = (negative ? 1 : 0) + (int_len - first) + 1 + static_cast<std::size_t>(d);
  if (static_cast<int>(len) > w) {
    put_stars(out, w);
    return;
  }
  const bool zero = no_integer && static_cast<int>(len) < w;  // 0.50, not .50
  out.append(static_cast<std::size_t>(w) - len - (zero ? 1 : 0), ' ');
  if (negative) out += '-';
  if (zero) out += '0';
  out.append(digits + first, int_len - first);
  out += '.';
  out.append(digits + int_len, static_cast<std::size_t>(d));
}

void put_list_int(Record& out, int v) { put_i(out, v, 11); }

void put_list_real(Record& out, float x) {
  if (put_special(out, x, 15)) return;
  const float m = std::fabs(x);
  // 0.1f is the least single from 0.0999999995 up and 1e8f the least from
  // 99999999.5 up, so these compare the exact value with those bounds.
  if (m == 0.0f || (m >= 0.1f && m < 1.0e8f)) {
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
  char digits[9];
  int expo = scientific_digits(m, 9, digits);
  char field[32];
  std::size_t k = 0;
  if (std::signbit(x)) field[k++] = '-';
  field[k++] = digits[0];
  field[k++] = '.';
  for (int i = 1; i < 9; ++i) field[k++] = digits[i];
  field[k++] = 'E';
  field[k++] = expo < 0 ? '-' : '+';
  if (expo < 0) expo = -expo;
  field[k++] = static_cast<char>('0' + expo / 10);
  field[k++] = static_cast<char>('0' + expo % 10);
  put_right(out, field, k, 15);
}

}  // namespace amostra
