// The long way to a single's decimal digits, for checking the fast ones:
// the exact decimal expansion printed in full (a single's has at most 149
// fractional digits), cut after d places and rounded by the first digit
// dropped, halves away from zero.  Header-only.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

namespace amostra::test {

// The digits of |x| x 10^d, rounded to an integer.
inline std::string rounded_digits(float x, int d) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.170f", static_cast<double>(std::fabs(x)));
  std::string all(buf);
  std::size_t point = all.find('.');
  std::string digits = all.substr(0, point) + all.substr(point + 1, static_cast<std::size_t>(d));
  if (all[point + 1 + static_cast<std::size_t>(d)] >= '5') {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) digits.insert(digits.begin(), '1');
    else ++digits[i - 1];
  }
  return digits;
}

}  // namespace amostra::test
