// The integer-only decimal conversions against the C library's, which are
// exact on this platform: halfway points, subnormals, the ends of the range,
// long digit strings and huge exponents; and the exact expansion of singles.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "console/decimal.hpp"
#include "console/reader.hpp"
#include "support/decimal_reference.hpp"

namespace amostra {
namespace {

std::uint32_t bits_of(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}
float float_of(std::uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}

struct Rng {
  std::uint64_t s = 0x9E3779B97F4A7C15ULL;
  std::uint64_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
};

// What the program's reader makes of one typed real.
float typed(const std::string& text) {
  std::stringbuf buf(text + "\n");
  Reader reader(buf);
  Real r;
  reader.read(r, {"here.cpp", 1});
  return r.value();
}

void expect_as_strtof(const std::string& text) {
  const float want = std::strtof(text.c_str(), nullptr);
  const float got = typed(text);
  ASSERT_EQ(bits_of(got), bits_of(want)) << text;
}

// The exact decimal value of a double with a 25-bit significand or less
// (a single or a halfway point between two), every digit.
std::string exact(double v) {
  char buf[1200];
  std::snprintf(buf, sizeof buf, "%.1074e", v);
  std::string s(buf);
  std::size_t e = s.find('e');
  std::size_t last = s.find_last_not_of('0', e - 1);
  if (s[last] == '.') --last;
  return s.substr(0, last + 1) + s.substr(e);
}

// Every halfway point between neighbouring singles of many binades, the
// subnormal ones and the one above the largest single included, written
// exactly, and a hair below and above it.
TEST(DecimalToSingle, HalfwayPointsExactlyAndAHairEitherSide) {
  Rng rng;
  for (int field = 0; field <= 254; ++field) {
    for (int k = 0; k < 40; ++k) {
      std::uint32_t mant = k < 4 ? static_cast<std::uint32_t>(k == 3 ? 0x7FFFFF : k) : rng.next() & 0x7FFFFF;
      const float f = float_of((static_cast<std::uint32_t>(field) << 23) | mant);
      const double mid = (static_cast<double>(f) + static_cast<double>(std::nextafter(f, INFINITY))) / 2;
      const std::string text = exact(std::isinf(std::nextafter(f, INFINITY)) ? static_cast<double>(f) + std::ldexp(1.0, 103) : mid);
      const std::size_t e = text.find('e');
      const std::string mantissa = text.substr(0, e);
      const std::string expo = text.substr(e);
      expect_as_strtof(text);
      expect_as_strtof(mantissa + (mantissa.find('.') == std::string::npos ? "." : "") + "000000000000000000001" + expo);
      // Just below: the last digit lowered, then nines.
      std::string below = mantissa;
      std::size_t i = below.size();
      while (below[i - 1] == '0' || below[i - 1] == '.') --i;
      --below[i - 1];
      if (below.find('.') == std::string::npos) below += ".";
      expect_as_strtof(below + "9999999999999999999999" + expo);
    }
  }
}

TEST(DecimalToSingle, EndsOfTheRange) {
  for (const char* text : {"3.4028235e38", "3.40282356e38", "3.4028235677973366e38", "3.4028235677973367e38",
                           "3.4028236e38", "1e39", "99999999999999999999999999999999999999999",
                           "1.17549435e-38", "1.1754942e-38", "1.401298464324817e-45", "7.006492321624085e-46",
                           "7.006492321624086e-46", "7.0064923216240861e-46", "7e-46", "1e-45", "1.5e-45",
                           "2.1019476964872256e-45", "2.1019476964872257e-45", "0.0000000000000000000000000000000000000000000007006492321624085354618",
                           "1e-46", "4e-320", "1e-400", "2e400"})
    expect_as_strtof(text);
}

// Long digit strings, with the digit that decides far beyond those kept.
TEST(DecimalToSingle, LongDigitStringsAndHugeExponents) {
  Rng rng;
  for (int k = 0; k < 20000; ++k) {
    std::string text;
    const int len = 1 + static_cast<int>(rng.next() % 200);
    for (int i = 0; i < len; ++i) text += static_cast<char>('0' + rng.next() % 10);
    if (rng.next() % 2) text.insert(static_cast<std::size_t>(rng.next() % (text.size() + 1)), ".");
    text += "e" + std::to_string(static_cast<int>(rng.next() % 500) - 250);
    expect_as_strtof(text);
  }
  expect_as_strtof("1e99999");
  expect_as_strtof("0.000000000000000000000000000000000000000000000000000000000000000000000001e110");
  expect_as_strtof("123456789012345678901234567890123456789012345678901234567890e-70");
}

// Short numbers of every length and scale: the fast paths.
TEST(DecimalToSingle, ShortNumbersOfEveryScale) {
  Rng rng;
  char text[64];
  for (int k = 0; k < 200000; ++k) {
    const int digits = 1 + static_cast<int>(rng.next() % 19);
    const unsigned long long d = rng.next() % 10000000000000000000ULL;
    std::snprintf(text, sizeof text, "%.*llue%d", digits, d, static_cast<int>(rng.next() % 100) - 60);
    expect_as_strtof(text);
  }
}

// Every single printed with nine significant digits reads back as itself.
TEST(DecimalToSingle, NineDigitsGiveTheSingleBack) {
  char text[64];
  for (std::uint64_t b = 1; b < 0x7F800000u; b += 1237) {
    const float f = float_of(static_cast<std::uint32_t>(b));
    std::snprintf(text, sizeof text, "%.8e", static_cast<double>(f));
    ASSERT_EQ(bits_of(typed(text)), b) << text;
  }
}

// The rounded value x 10^d from the exact expansion, the long way.
using amostra::test::rounded_digits;

std::string fixed(float m, int d) {
  std::string out(static_cast<std::size_t>(d) + 64, '?');
  out.resize(fixed_digits(m, d, out.data()));
  return out;
}

TEST(SingleToDecimal, FixedPlacesAcrossTheWholeRange) {
  for (std::uint64_t b = 0; b < 0x7F800000u; b += 4093) {
    const float m = float_of(static_cast<std::uint32_t>(b));
    const int d = static_cast<int>(b / 4093 % 24);
    ASSERT_EQ(fixed(m, d), rounded_digits(m, d)) << m << " to " << d << " places";
  }
  // Many places: the whole expansion of the smallest subnormal and more.
  for (int d : {140, 149, 150, 160})
    EXPECT_EQ(fixed(float_of(1), d), rounded_digits(float_of(1), d)) << d;
  EXPECT_EQ(fixed(FLT_MAX, 2), rounded_digits(FLT_MAX, 2));
  EXPECT_EQ(fixed(0.5f, 0), "1");
  EXPECT_EQ(fixed(0.49999997f, 0), "0");
  EXPECT_EQ(fixed(0.0f, 3), "0000");
}

TEST(SingleToDecimal, NineSignificantDigitsAcrossTheWholeRange) {
  char buf[200];
  for (std::uint64_t b = 1; b < 0x7F800000u; b += 2003) {
    const float m = float_of(static_cast<std::uint32_t>(b));
    std::snprintf(buf, sizeof buf, "%.120e", static_cast<double>(m));
    // Reference: the first nine digits rounded by the tenth, halves away.
    std::string d = std::string(1, buf[0]) + std::string(buf + 2, 8);
    int expo = std::atoi(std::strchr(buf, 'e') + 1);
    if (buf[10] >= '5') {
      std::size_t i = 9;
      while (i > 0 && d[i - 1] == '9') d[--i] = '0';
      if (i == 0) {
        d = "100000000";
        ++expo;
      } else {
        ++d[i - 1];
      }
    }
    char got[9];
    const int got_expo = scientific_digits(m, 9, got);
    ASSERT_EQ(std::string(got, 9), d) << buf;
    ASSERT_EQ(got_expo, expo) << buf;
  }
}

// List-directed output chooses the fixed form for 0.0999999995 <= |x| <
// 99999999.5 by comparing singles with 0.1f and 1e8f: no single lies between.
TEST(SingleToDecimal, TheListBoundsAreSingles) {
  EXPECT_LT(static_cast<double>(std::nextafter(0.1f, 0.0f)), 0.0999999995);
  EXPECT_GE(static_cast<double>(0.1f), 0.0999999995);
  EXPECT_LT(static_cast<double>(std::nextafter(1.0e8f, 0.0f)), 99999999.5);
  EXPECT_GE(static_cast<double>(1.0e8f), 99999999.5);
}

}  // namespace
}  // namespace amostra
