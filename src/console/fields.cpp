#include "console/fields.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace amostra {
namespace {

// Number of decimal places that the exact value of the finite single m needs.
int exact_places(float m) {
  if (m == 0.0f) return 0;
  int e = 0;
  std::frexp(m, &e);  // m = f * 2^e, 0.5 <= f < 1; its last bit weighs 2^(e-24)
  int places = 24 - e;
  if (places > 149) places = 149;
  return places < 0 ? 0 : places;
}

// Adds one unit to the last digit of a digit string; returns true on a carry
// out of the first digit.
bool increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

// Integer digits (no leading zeros; empty for 0) and exactly d decimals of the
// nonnegative finite single m, rounded half away from zero.
void fixed_digits(float m, int d, std::string& int_part, std::string& frac) {
  int places = exact_places(m);
  if (places < d + 1) places = d + 1;
  char buf[256];
  std::snprintf(buf, sizeof buf, "%.*f", places, static_cast<double>(m));  // exact
  const char* point = std::strchr(buf, '.');
  int_part.assign(buf, static_cast<std::size_t>(point - buf));
  frac.assign(point + 1, static_cast<std::size_t>(d));
  bool up = point[1 + d] >= '5';  // halves, and anything above them, round away
  if (int_part == "0") int_part.clear();
  if (up) {
    std::string all = int_part + frac;
    if (increment(all)) all.insert(all.begin(), '1');
    int_part = all.substr(0, all.size() - static_cast<std::size_t>(d));
    frac = all.substr(all.size() - static_cast<std::size_t>(d));
  }
}

void put_stars(std::string& out, int w) { out.append(static_cast<std::size_t>(w), '*'); }

void put_right(std::string& out, const std::string& s, int w) {
  if (static_cast<int>(s.size()) < w) out.append(static_cast<std::size_t>(w) - s.size(), ' ');
  out += s;
}

// NaN and infinities in a field of w columns (shared by Fw.d and list output).
bool put_special(std::string& out, float x, int w) {
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

void put_a(std::string& out, std::string_view text, int w) {
  auto uw = static_cast<std::size_t>(w < 0 ? 0 : w);
  if (uw <= text.size()) {
    out.append(text.substr(0, uw));
  } else {
    out.append(uw - text.size(), ' ');
    out.append(text);
  }
}

void put_i(std::string& out, int v, int w) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) > w) put_stars(out, w);
  else put_right(out, s, w);
}

void put_f(std::string& out, float x, int w, int d) {
  if (put_special(out, x, w)) return;
  std::string int_part, frac;
  fixed_digits(std::fabs(x), d, int_part, frac);
  std::string s = std::signbit(x) ? "-" : "";
  s += int_part;
  s += '.';
  s += frac;
  int k = static_cast<int>(s.size());
  if (k > w) {
    put_stars(out, w);
    return;
  }
  if (int_part.empty() && k < w) s.insert(s.size() - frac.size() - 1, 1, '0');
  put_right(out, s, w);
}

void put_list_int(std::string& out, int v) { put_i(out, v, 11); }

void put_list_real(std::string& out, float x) {
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
  std::string digits;
  digits += buf[0];
  digits.append(buf + 2, 8);
  if (buf[10] >= '5' && increment(digits)) {
    digits = "1" + digits.substr(0, 8);
    ++expo;
  }
  char field[32];
  std::snprintf(field, sizeof field, "%s%c.%sE%c%02d", std::signbit(x) ? "-" : "", digits[0],
                digits.substr(1).c_str(), expo < 0 ? '-' : '+', expo < 0 ? -expo : expo);
  put_right(out, field, 15);
}

}  // namespace amostra
