// Fields of a record: Fw.d, Iw, Aw and the list-directed items.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "console/fields.hpp"
#include "support/decimal_reference.hpp"

namespace amostra {
namespace {

std::string f(float x, int w, int d) {
  Record r;
  put_f(r, x, w, d);
  return std::string(r.view());
}
std::string i(int v, int w) {
  Record r;
  put_i(r, v, w);
  return std::string(r.view());
}
std::string a(std::string_view t, int w) {
  Record r;
  put_a(r, t, w);
  return std::string(r.view());
}
std::string lr(float x) {
  Record r;
  put_list_real(r, x);
  return std::string(r.view());
}

struct FCase {
  float value;
  int w, d;
  const char* want;
};

TEST(FixedField, RoundsTheExactValueHalvesAwayFromZero) {
  const float inf = std::numeric_limits<float>::infinity();
  const FCase cases[] = {
      {3.14159f, 6, 2, "  3.14"},   {0.5f, 6, 2, "  0.50"},     {-0.004f, 6, 2, " -0.00"},
      {0.125f, 6, 2, "  0.13"},     {0.006f, 6, 2, "  0.01"},   {0.005f, 6, 2, "  0.00"},  // 0.005 is stored below
      {-12.5f, 6, 2, "-12.50"},     {999.995f, 6, 2, "999.99"}, {1234.5f, 6, 2, "******"},
      {99.995f, 5, 2, "*****"},     {0.5f, 4, 2, "0.50"},       {-0.5f, 4, 2, "-.50"},
      {9.999f, 4, 2, "****"},       {5.0f, 4, 0, "  5."},       {0.3f, 4, 0, "  0."},
      {0.7f, 4, 0, "  1."},         {2.5f, 4, 0, "  3."},       {-2.5f, 4, 0, " -3."},
      {384.16f, 8, 0, "    384."},  {-0.25f, 5, 3, "-.250"},    {0.25f, 6, 4, "0.2500"},
      {inf, 6, 2, "  +Inf"},        {2.675f, 6, 2, "  2.67"},   {-0.0f, 6, 2, " -0.00"},
      {0.0f, 6, 2, "  0.00"},       {0.0f, 3, 2, ".00"},        {0.999f, 4, 2, "1.00"},
      {9.995f, 4, 2, "9.99"},       {1e30f, 9, 2, "*********"}, {-1e-30f, 7, 2, "  -0.00"},
  };
  for (const FCase& c : cases) EXPECT_EQ(f(c.value, c.w, c.d), c.want) << c.value << " F" << c.w << "." << c.d;
}

TEST(FixedField, NotANumberAndInfinitiesByWidth) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(f(nan, 6, 2), "   NaN");
  EXPECT_EQ(f(-nan, 6, 2), "   NaN");
  EXPECT_EQ(f(nan, 3, 0), "NaN");
  EXPECT_EQ(f(nan, 2, 0), "**");
  EXPECT_EQ(f(inf, 2, 0), "**");
  EXPECT_EQ(f(inf, 3, 0), "Inf");
  EXPECT_EQ(f(-inf, 3, 0), "***");
  EXPECT_EQ(f(-inf, 4, 0), "-Inf");
  EXPECT_EQ(f(inf, 8, 2), "    +Inf");
  EXPECT_EQ(f(inf, 9, 2), "+Infinity");
  EXPECT_EQ(f(-inf, 15, 2), "      -Infinity");
}

TEST(FixedField, DenormalsAndLargestValueUseTheirExactDigits) {
  EXPECT_EQ(f(std::numeric_limits<float>::denorm_min(), 8, 4), "  0.0000");
  EXPECT_EQ(f(3.4028235e38f, 45, 1), "    340282346638528859811704183484516925440.0");
  EXPECT_EQ(f(0.5f, 3, 0), " 1.");  // d = 0: 0.5 up to 1 becomes 1
  EXPECT_EQ(f(0.49999997f, 3, 0), " 0.");
}

TEST(IntegerField, RightJustifiedOrAsterisks) {
  EXPECT_EQ(i(-5, 3), " -5");
  EXPECT_EQ(i(7, 2), " 7");
  EXPECT_EQ(i(100, 2), "**");
  EXPECT_EQ(i(-10, 2), "**");
  EXPECT_EQ(i(0, 4), "   0");
  EXPECT_EQ(i(-2147483647 - 1, 11), "-2147483648");
}

TEST(TextField, CutOrPaddedOnTheLeft) {
  EXPECT_EQ(a("abcdef", 3), "abc");
  EXPECT_EQ(a("abc", 3), "abc");
  EXPECT_EQ(a("0123456789", 15), "     0123456789");
  EXPECT_EQ(a("abc", 0), "");
}

TEST(ListItems, RealsTakeFifteenColumnsFixedOrExponent) {
  EXPECT_EQ(lr(3.5f), "  3.5000000    ");
  EXPECT_EQ(lr(0.5f), " 0.50000000    ");
  EXPECT_EQ(lr(0.0f), "  0.0000000    ");
  EXPECT_EQ(lr(-0.0f), " -0.0000000    ");
  EXPECT_EQ(lr(0.05f), " 5.00000007E-02");
  EXPECT_EQ(lr(0.1f), " 0.10000000    ");
  EXPECT_EQ(lr(-0.1f), "-0.10000000    ");
  EXPECT_EQ(lr(12.25f), "  12.250000    ");
  EXPECT_EQ(lr(99999992.0f), "  99999992.    ");
  EXPECT_EQ(lr(1e8f), " 1.00000000E+08");
  EXPECT_EQ(lr(-123456789.0f), "-1.23456792E+08");
  EXPECT_EQ(lr(1e-40f), " 9.99994610E-41");
  // 2^-13 = 0.0001220703125: the tenth significant digit is an exact half.
  EXPECT_EQ(lr(0.0001220703125f), " 1.22070313E-04");
  EXPECT_EQ(lr(std::numeric_limits<float>::quiet_NaN()), "            NaN");
  EXPECT_EQ(lr(std::numeric_limits<float>::infinity()), "      +Infinity");
}

TEST(ListItems, IntegersTakeElevenColumns) {
  Record r;
  put_list_int(r, 3);
  EXPECT_EQ(r.view(), "          3");
}

}  // namespace
}  // namespace amostra

namespace amostra {
namespace {

// Fw.d from the exact decimal expansion, the long way: every digit printed,
// then rounded by the first digit dropped.
std::string reference_f(float x, int w, int d) {
  const std::string digits = amostra::test::rounded_digits(x, d);
  std::string int_part = digits.substr(0, digits.size() - static_cast<std::size_t>(d));
  int_part.erase(0, int_part.find_first_not_of('0') == std::string::npos ? int_part.size()
                                                                         : int_part.find_first_not_of('0'));
  std::string s = (std::signbit(x) ? "-" : "") + int_part + "." + digits.substr(digits.size() - static_cast<std::size_t>(d));
  if (static_cast<int>(s.size()) > w) return std::string(static_cast<std::size_t>(w), '*');
  if (int_part.empty() && static_cast<int>(s.size()) < w) s.insert(s.find('.'), "0");
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

TEST(FixedField, AgreesWithTheLongWayOnRandomSingles) {
  std::uint32_t state = 2463534242u;
  for (int k = 0; k < 100000; ++k) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    float x;
    std::uint32_t bits = state;
    if (k % 2 == 0) bits = (bits & 0x80FFFFFFu) | ((100u + (bits >> 24) % 60u) << 23);  // |x| near 1e-8..1e8
    std::memcpy(&x, &bits, sizeof x);
    if (!std::isfinite(x)) continue;
    int d = k % 9;
    int w = 12 + d;
    ASSERT_EQ(f(x, w, d), reference_f(x, w, d)) << x << " F" << w << "." << d;
  }
}

}  // namespace
}  // namespace amostra
