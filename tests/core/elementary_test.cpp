// The program's own ln, exp and pow: special values, exact cases, known
// constants, and the refinement path that decides hard roundings.  The
// comparison with a correctly rounded reference is in elementary_mpfr_test.cpp.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "core/elementary.hpp"

namespace amostra {
namespace {

using Kind = ExtParts::Kind;

float bits_float(std::uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}

std::uint32_t float_bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

bool same_parts(const ExtParts& a, const ExtParts& b) {
  return a.kind == b.kind && a.negative == b.negative && a.exponent == b.exponent && a.significand == b.significand;
}

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kTiny = std::numeric_limits<float>::denorm_min();
const float kMax = std::numeric_limits<float>::max();

TEST(ElementaryLn, SpecialValues) {
  ExtParts p = ln_single(0.0f);
  EXPECT_EQ(p.kind, Kind::Infinite);
  EXPECT_TRUE(p.negative);
  p = ln_single(-0.0f);
  EXPECT_EQ(p.kind, Kind::Infinite);
  EXPECT_TRUE(p.negative);
  p = ln_single(kInf);
  EXPECT_EQ(p.kind, Kind::Infinite);
  EXPECT_FALSE(p.negative);
  // Any negative argument, -inf included: the default NaN, negative.
  for (float x : {-1.0f, -kTiny, -kMax, -kInf}) {
    p = ln_single(x);
    EXPECT_EQ(p.kind, Kind::NaN) << x;
    EXPECT_TRUE(p.negative) << x;
    EXPECT_EQ(p.significand, std::uint64_t{3} << 62) << x;
  }
  // A NaN stays that NaN, quieted, its sign and payload kept.
  p = ln_single(bits_float(0x7F800123U));
  EXPECT_EQ(p.kind, Kind::NaN);
  EXPECT_FALSE(p.negative);
  EXPECT_EQ(p.significand, (std::uint64_t{3} << 62) | (std::uint64_t{0x123} << 40));
  // ln 1 is exactly +0.
  p = ln_single(1.0f);
  EXPECT_EQ(p.kind, Kind::Finite);
  EXPECT_FALSE(p.negative);
  EXPECT_EQ(p.significand, 0U);
}

#ifdef __SIZEOF_INT128__  // 128-bit integers hold the reference digits

// ln 2 = 0.B17217F7D1CF79AB C9E3B398 03F2F6AF... (hexadecimal), so the powers
// of two, subnormals included, check the series for ln 2 and the scaling by
// the exponent without any other reference.
TEST(ElementaryLn, PowersOfTwoAreMultiplesOfLn2) {
  const unsigned __int128 ln2_96 = (static_cast<unsigned __int128>(0xB17217F7D1CF79ABULL) << 32) | 0xC9E3B398U;
  for (int k = -149; k <= 127; ++k) {
    if (k == 0) continue;
    const float x = k >= -126 ? bits_float(static_cast<std::uint32_t>(k + 127) << 23)
                              : bits_float(std::uint32_t{1} << (k + 149));
    const unsigned ak = static_cast<unsigned>(k < 0 ? -k : k);
    unsigned __int128 prod = ln2_96 * ak;  // |k| ln 2 = prod * 2^-96
    int n = 0;
    for (unsigned __int128 t = prod; t != 0; t >>= 1) ++n;
    const int s = n - 64;
    std::uint64_t q = static_cast<std::uint64_t>(prod >> s);
    const unsigned __int128 rest = prod & ((static_cast<unsigned __int128>(1) << s) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
    // The truncated constant is low by less than |k| units: far from a tie.
    ASSERT_TRUE(rest + 256 < half || rest > half + 256) << k;
    if (rest > half) ++q;
    const ExtParts p = ln_single(x);
    EXPECT_EQ(p.kind, Kind::Finite) << k;
    EXPECT_EQ(p.negative, k < 0) << k;
    EXPECT_EQ(p.significand, q) << k;
    EXPECT_EQ(p.exponent, n - 96 - 1) << k;
  }
}

TEST(ElementaryLn, NearOneKeepsFullRelativePrecision) {
  // ln(1 + u) = u (1 - u/2 + u^2/3 - u^3/4 + u^4/5 - ...) for u = 2^-23,
  // summed in 128-bit integers in units of 2^-100 (the truncations stay far
  // below the 36 bits dropped by the rounding).
  const unsigned __int128 one = static_cast<unsigned __int128>(1) << 100;
  const unsigned __int128 series = one - (one >> 24) + (one >> 46) / 3 - (one >> 69) / 4 + (one >> 92) / 5;
  // ln(1 + u) = series * 2^-123, just below 2^-23: 100 significant bits.
  const auto sig = static_cast<std::uint64_t>(series >> 36);
  const bool round_up = ((series >> 35) & 1) != 0;
  const ExtParts up = ln_single(bits_float(0x3F800001U));
  EXPECT_FALSE(up.negative);
  EXPECT_EQ(up.exponent, -24);
  EXPECT_EQ(up.significand, sig + (round_up ? 1 : 0));
  // ln(1 - 2^-24) = -2^-24 (1 + 2^-25 + ...): a little beyond -2^-24.
  const ExtParts down = ln_single(bits_float(0x3F7FFFFFU));
  EXPECT_TRUE(down.negative);
  EXPECT_EQ(down.exponent, -24);
  EXPECT_EQ(down.significand >> 62, 2U);
}

#endif

TEST(ElementaryLn, RefinementFromLowPrecisionGivesTheSameBits) {
  // Starting from 16 or 40 fractional bits the bound cannot decide, so the
  // evaluation is repeated at higher precision until it can.
  std::mt19937 gen(11);
  int refined = 0;
  for (int i = 0; i < 400; ++i) {
    const float x = bits_float(gen() & 0x7F7FFFFFU);
    if (x == 0.0f) continue;
    const ExtParts direct = ln_single(x);
    for (int start : {16, 40}) {
      const ExtParts slow = elementary_detail::ln_single_from(x, start);
      refined += elementary_detail::last_attempts() > 1;
      EXPECT_TRUE(same_parts(direct, slow)) << x << " from " << start;
    }
  }
  EXPECT_GT(refined, 700);
}

TEST(ElementaryExp, SpecialValuesAndRange) {
  EXPECT_TRUE(exp_single(kNaN) != exp_single(kNaN));
  EXPECT_EQ(exp_single(kInf), kInf);
  EXPECT_EQ(float_bits(exp_single(-kInf)), 0U);
  EXPECT_EQ(exp_single(0.0f), 1.0f);
  EXPECT_EQ(exp_single(-0.0f), 1.0f);
  EXPECT_EQ(exp_single(kTiny), 1.0f);
  // Near 0: within 2^-26 the single is 1; e^(2^-24) = 1 + 2^-24 + 2^-49 + ...
  // is above the halfway point to the next single, e^(-2^-24) nearest to
  // 1 - 2^-24.
  EXPECT_EQ(exp_single(bits_float(0x327FFFFFU)), 1.0f);
  EXPECT_EQ(exp_single(bits_float(0xB27FFFFFU)), 1.0f);
  EXPECT_EQ(exp_single(bits_float(0x33800000U)), bits_float(0x3F800001U));
  EXPECT_EQ(exp_single(bits_float(0xB3800000U)), bits_float(0x3F7FFFFFU));
  EXPECT_EQ(exp_single(kMax), kInf);
  EXPECT_EQ(float_bits(exp_single(-kMax)), 0U);
  // The largest single argument with a finite result, and the next one.
  EXPECT_EQ(exp_single(88.7228317f), 3.40279852e38f);
  EXPECT_EQ(exp_single(88.7228394f), kInf);
  // Near the bottom: the smallest subnormal, then zero (e^-103.972077 is
  // just below 2^-150, half the smallest subnormal).
  EXPECT_EQ(exp_single(-103.0f), kTiny);
  EXPECT_EQ(exp_single(-103.972076f), kTiny);
  EXPECT_EQ(exp_single(-103.972084f), 0.0f);
  EXPECT_EQ(exp_single(-87.3365479f), 1.17549071e-38f);
}

TEST(ElementaryExp, KnownValues) {
  // e = 2.718281828459045235..., its double 0x4005BF0A8B145769, single
  // 0x402DF854; 1/e = 0.367879441171442321...
  EXPECT_EQ(float_bits(exp_single(1.0f)), 0x402DF854U);
  EXPECT_EQ(float_bits(exp_single(-1.0f)), 0x3EBC5AB2U);
  EXPECT_EQ(exp_single(10.0f), 22026.4648f);
  EXPECT_EQ(exp_single(0.5f), 1.64872122f);
}

TEST(ElementaryExp, RefinementFromLowPrecisionGivesTheSameBits) {
  std::mt19937 gen(5);
  std::uniform_real_distribution<float> arg(-110.0f, 95.0f);
  int refined = 0;
  for (int i = 0; i < 300; ++i) {
    const float x = arg(gen);
    const float direct = exp_single(x);
    const float slow = elementary_detail::exp_single_from(x, 16);
    refined += elementary_detail::last_attempts() > 1;
    EXPECT_EQ(float_bits(direct), float_bits(slow)) << x;
  }
  EXPECT_GT(refined, 250);
}

struct PowCase {
  float base, expo, result;
};

TEST(ElementaryPow, SpecialValuesOfTheUsualTable) {
  const PowCase cases[] = {
      {kNaN, 0.0f, 1.0f},         {kNaN, -0.0f, 1.0f},       {1.0f, kNaN, 1.0f},      {1.0f, kInf, 1.0f},
      {-1.0f, kInf, 1.0f},        {-1.0f, -kInf, 1.0f},      {0.5f, kInf, 0.0f},      {0.5f, -kInf, kInf},
      {-0.5f, kInf, 0.0f},        {2.0f, kInf, kInf},        {-2.0f, -kInf, 0.0f},    {0.0f, 3.0f, 0.0f},
      {-0.0f, 3.0f, -0.0f},       {-0.0f, 2.0f, 0.0f},       {-0.0f, 0.5f, 0.0f},     {0.0f, -3.0f, kInf},
      {-0.0f, -3.0f, -kInf},      {-0.0f, -2.0f, kInf},      {-0.0f, -kInf, kInf},    {0.0f, kInf, 0.0f},
      {kInf, 0.5f, kInf},         {kInf, -0.5f, 0.0f},       {-kInf, 3.0f, -kInf},    {-kInf, 2.0f, kInf},
      {-kInf, -3.0f, -0.0f},      {-kInf, -2.5f, 0.0f},      {-1.0f, 3.0f, -1.0f},    {-1.0f, 1e30f, 1.0f},
      {-2.0f, 3.0f, -8.0f},       {-2.0f, -3.0f, -0.125f},   {-2.0f, 2.0f, 4.0f},     {-10.0f, 39.0f, -kInf},
      {10.0f, 39.0f, kInf},       {10.0f, -46.0f, 0.0f},     {-10.0f, -45.0f, -kTiny}, {-10.0f, -46.0f, 0.0f},
      {-3.0f, 1e30f, kInf},       {-0.5f, 16777217.0f, 0.0f}, {-0.5f, 16777215.0f, -0.0f},
  };
  for (const PowCase& c : cases) {
    const float r = pow_single(c.base, c.expo);
    EXPECT_EQ(float_bits(r), float_bits(c.result)) << c.base << " ^ " << c.expo << " gave " << r;
  }
  for (const float b : {-2.0f, -0.5f, -kTiny, -kMax})
    for (const float y : {0.5f, -1.5f, 1e-30f, 8388607.5f}) {
      const float r = pow_single(b, y);
      EXPECT_TRUE(r != r) << b << " ^ " << y;
    }
  EXPECT_TRUE(pow_single(kNaN, 1.0f) != pow_single(kNaN, 1.0f));
  EXPECT_TRUE(pow_single(2.0f, kNaN) != pow_single(2.0f, kNaN));
}

TEST(ElementaryPow, DyadicResultsAreExactAndRoundedOnceEach) {
  const PowCase cases[] = {
      {2.0f, 10.0f, 1024.0f},
      {9.0f, 1.5f, 27.0f},
      {0.25f, 0.5f, 0.5f},
      {6.25f, -0.5f, 0.4f},  // 1/2.5 is no dyadic number: rounded, 0.4f
      {16.0f, 0.75f, 8.0f},
      {2.0f, -149.0f, kTiny},
      {2.0f, -150.0f, 0.0f},    // exactly half the smallest subnormal: to even
      {2.0f, -149.5f, kTiny},   // above the half
      {2.0f, 127.0f, 1.70141183e38f},
      {2.0f, 128.0f, kInf},
      // 3 * 2^-75 squared is 4.5 units of the smallest subnormal: to even, 4.
      {3.0f * 2.64697796e-23f, 2.0f, 4.0f * kTiny},
      // 208065^3 has 54 significant bits: a tie in double, to even
      // (0x1.00011add69b20p+53), then to single 0x1.00011ap+53.
      {208065.0f, 3.0f, 9007350652338176.0f},
      {1.5f, 3.0f, 3.375f},
      {-1.5f, 3.0f, -3.375f},
  };
  for (const PowCase& c : cases) {
    const float r = pow_single(c.base, c.expo);
    EXPECT_EQ(float_bits(r), float_bits(c.result)) << c.base << " ^ " << c.expo << " gave " << r;
  }
}

TEST(ElementaryPow, RefinementFromLowPrecisionGivesTheSameBits) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> base(0.01f, 100.0f);
  std::uniform_real_distribution<float> expo(-15.0f, 15.0f);
  int refined = 0;
  for (int i = 0; i < 200; ++i) {
    const float b = base(gen), y = expo(gen);
    const float direct = pow_single(b, y);
    const float slow = elementary_detail::pow_single_from(b, y, 16);
    refined += elementary_detail::last_attempts() > 1;
    EXPECT_EQ(float_bits(direct), float_bits(slow)) << b << " ^ " << y;
  }
  EXPECT_GT(refined, 150);
}


// The double-double evaluation that answers most calls and the multi-word
// evaluation behind it give the same bits, and the first answers nearly all.
TEST(ElementaryFastPath, AgreesWithTheMultiWordEvaluation) {
  std::mt19937 gen(23);
  std::uniform_real_distribution<float> arg(-110.0f, 95.0f);
  std::uniform_real_distribution<float> expo(-30.0f, 30.0f);
  int fast = 0, total = 0;
  for (int i = 0; i < 4000; ++i) {
    const float x = bits_float(gen() & 0x7F7FFFFFU);
    if (x == 0.0f) continue;
    const ExtParts p = ln_single(x);
    fast += elementary_detail::last_attempts() == 0;
    ++total;
    EXPECT_TRUE(same_parts(p, elementary_detail::ln_single_from(x, 160))) << "ln " << x;
    const float e = arg(gen);
    const float r = exp_single(e);
    fast += elementary_detail::last_attempts() == 0;
    ++total;
    EXPECT_EQ(float_bits(r), float_bits(elementary_detail::exp_single_from(e, 128))) << "exp " << e;
    const float b = bits_float(0x30000000U + gen() % 0x1E000000U);  // 4.7e-10 .. 2.1e9
    const float y = expo(gen);
    const float q = pow_single(b, y);
    fast += elementary_detail::last_attempts() == 0;
    ++total;
    EXPECT_EQ(float_bits(q), float_bits(elementary_detail::pow_single_from(b, y, 128))) << "pow " << b << " " << y;
  }
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  EXPECT_GT(fast, total - total / 200);
#endif
}


// The constants compiled into the double-double evaluation are exactly what
// the multi-word evaluation gives.
TEST(ElementaryFastPath, StoredConstantsAreTheDerivedOnes) {
  const elementary_detail::FastConstants& stored = elementary_detail::stored_constants();
  const elementary_detail::FastConstants derived = elementary_detail::derived_constants();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stored.ln2[i], derived.ln2[i]) << i;
  for (int k = 0; k < 91; ++k)
    for (int h = 0; h < 2; ++h) EXPECT_EQ(stored.ln_c[k][h], derived.ln_c[k][h]) << "ln c " << k + 91;
  for (int j = 0; j < 64; ++j)
    for (int h = 0; h < 2; ++h) EXPECT_EQ(stored.exp2[j][h], derived.exp2[j][h]) << "2^(" << j << "/64)";
  // The first two parts of ln 2 have at most 39 significant bits (the exact
  // products rely on it) and the three add up to its digits.
  const auto at_most_bits = [](double x, int n) {
    int e;
    std::frexp(x, &e);
    const double scaled = std::ldexp(x, n - e);
    return scaled == std::trunc(scaled);
  };
  EXPECT_TRUE(at_most_bits(stored.ln2[0], 39));
  EXPECT_TRUE(at_most_bits(stored.ln2[1], 39));
  EXPECT_EQ(stored.ln2[0], 0x1.62e42fefap-1);
  EXPECT_EQ(stored.ln2[0] + stored.ln2[1], 0x1.62e42fefa39efp-1);
}

}  // namespace
}  // namespace amostra
