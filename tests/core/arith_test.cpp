// The arithmetic convention: single storage, extended evaluation, one rounding.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <type_traits>

#include "core/arith.hpp"
#include "core/fpenv.hpp"
#if LDBL_MANT_DIG == 64
#include "support/x87.hpp"
#endif

namespace amostra {
namespace {

#if LDBL_MANT_DIG == 64
using test::x87;
#endif

// An application cannot fall into float or double evaluation by accident.
static_assert(!std::is_convertible_v<Real, float> && !std::is_convertible_v<Real, double>);
static_assert(!std::is_convertible_v<Ext, float> && !std::is_convertible_v<Ext, long double>);
static_assert(!std::is_convertible_v<double, Real> && !std::is_convertible_v<double, Ext>);
static_assert(!std::is_convertible_v<long, Ext> && !std::is_convertible_v<unsigned, Real>);
static_assert(std::is_same_v<decltype(Real() + Real()), Ext>);
static_assert(std::is_same_v<decltype(Real() * 2), Ext>);
static_assert(std::is_same_v<decltype(7 / 2), int>);

class Arithmetic : public testing::Test {
 protected:
  void SetUp() override { establish_arithmetic(); }
};

TEST_F(Arithmetic, ExpressionsAreEvaluatedInExtendedAndRoundedOnce) {
  Real big = Real(1e8), one = Real(1.0);
  // In single precision 1e8 + 1 is 1e8 again and the sum would be 0.
  Real r = big + one - big;
  EXPECT_EQ(r.value(), 1.0f);
  // The product overflows single precision but not the extended range.
  Real a = Real(1e30);
  Real q = a * a / a;
  EXPECT_EQ(q.value(), 1e30f);
  // Storing the intermediate rounds it: now the 1 is lost.
  Real s = big + one;
  Real t = s - big;
  EXPECT_EQ(t.value(), 0.0f);
}

TEST_F(Arithmetic, AssignmentRoundsOnceNotThroughDouble) {
  // 1 + 2^-24 + 2^-60: to single directly it is above the halfway point and
  // rounds up; through double it would first become the halfway point and
  // then round to even, down to 1.
  const Ext two30 = Ext(1 << 30);
  Ext x = Ext(1) + Ext(1) / (Ext(1 << 24)) + Ext(1) / (two30 * two30);  // exact
  EXPECT_EQ(Real(x).value(), 1.0f + std::ldexp(1.0f, -23));
  EXPECT_EQ(static_cast<float>(1.0 + std::ldexp(1.0, -24) + std::ldexp(1.0, -60)), 1.0f);
}

TEST_F(Arithmetic, ComparisonsUseTheUnroundedValue) {
  Real big = Real(1e8), one = Real(1.0);
  EXPECT_TRUE(big + one > big);
  EXPECT_FALSE(Real(big + one) > big);
  Real tenth = Real(0.1);
  EXPECT_FALSE(tenth * 3 == Real(0.3));
}

TEST_F(Arithmetic, NegativeZeroNaNAndInfinity) {
  Real zero = 0;
  Real minus = -zero;
  EXPECT_TRUE(std::signbit(minus.value()));
  EXPECT_FALSE(std::signbit(Real(zero - zero).value()));
  Real nan = zero / zero;
  EXPECT_TRUE(std::isnan(nan.value()));
  EXPECT_FALSE(nan < 1);
  EXPECT_FALSE(nan > 1);
  EXPECT_FALSE(nan == nan);
  EXPECT_TRUE(nan != nan);
  EXPECT_FALSE(Ext(0) < nan && nan < 1);  // a range check fails on NaN
  Real inf = Real(1.0) / zero;
  EXPECT_EQ(inf.value(), INFINITY);
  EXPECT_EQ(Real(-Real(1.0) / zero).value(), -INFINITY);
  EXPECT_TRUE(std::isnan(Real(sqrt(Real(-1.0))).value()));
}

TEST_F(Arithmetic, RealToIntegerTruncatesTowardZero) {
  EXPECT_EQ(trunc_int(Real(2.9)), 2);
  EXPECT_EQ(trunc_int(Real(-2.9)), -2);
  EXPECT_EQ(trunc_int(Real(2147483520.0)), 2147483520);
  EXPECT_EQ(trunc_int(Real(3e9)), INT_MIN);
  EXPECT_EQ(trunc_int(Real(-3e9)), INT_MIN);
  EXPECT_EQ(trunc_int(Real(0.0) / Ext(0)), INT_MIN);
}

TEST_F(Arithmetic, CountsConvertToReals) {
  int n = 16777217;
  Real rn = n;  // rounds to the nearest single
  EXPECT_EQ(rn.value(), 16777216.0f);
  EXPECT_EQ(Real(Ext(n) - rn).value(), 1.0f);  // but enters expressions exactly
}

#if LDBL_MANT_DIG == 64  // compared with the x87 long double
TEST_F(Arithmetic, ElementaryFunctions) {
  Real two = 2;
  EXPECT_EQ(x87(ln(two)), logl(2.0L));  // unrounded
  EXPECT_EQ(exp(Real(1.0)).value(), static_cast<float>(std::exp(1.0)));
  EXPECT_EQ(pow(two, Real(0.3)).value(), static_cast<float>(std::pow(2.0, static_cast<double>(0.3f))));
  EXPECT_EQ(x87(sqrt(two)), sqrtl(2.0L));
  EXPECT_EQ(x87(sq(Real(3.0))), 9.0L);
  EXPECT_EQ(x87(abs(Real(-1.5))), 1.5L);
}
#endif

TEST_F(Arithmetic, CompoundAssignmentRoundsEachStep) {
  Real s = 0;
  for (int k = 0; k < 10; ++k) s += Real(0.1);
  float f = 0.0f;
  for (int k = 0; k < 10; ++k) f = static_cast<float>(static_cast<long double>(f) + 0.1f);
  EXPECT_EQ(s.value(), f);
}

}  // namespace
}  // namespace amostra
