// ln, exp and pow against MPFR's correctly rounded results on a sample of the
// program's arguments (the long run is the elementary_reference program).
// Built against MPFR where configure found it; skipped, and saying so,
// elsewhere.
#include <gtest/gtest.h>

#ifdef AMOSTRA_HAVE_MPFR
#include "core/elementary.hpp"
#include "core/elementary_reference.hpp"
#endif

namespace amostra {
namespace {

#ifdef AMOSTRA_HAVE_MPFR

constexpr int kSample = 20000;

TEST(ElementaryReference, LnIsCorrectlyRounded) {
  reference::Arguments args(1);
  int differ = 0;
  for (int i = 0; i < kSample; ++i) {
    const float x = args.ln_arg();
    const ExtParts mine = ln_single(x), ref = reference::ln(x);
    if (!reference::same(mine, ref)) {
      ++differ;
      ADD_FAILURE() << "ln(" << x << "): exponent " << mine.exponent << " significand " << std::hex
                    << mine.significand << ", correctly rounded " << std::dec << ref.exponent << " " << std::hex
                    << ref.significand;
    }
  }
  EXPECT_EQ(differ, 0);
}

TEST(ElementaryReference, ExpIsCorrectlyRoundedTwice) {
  reference::Arguments args(2);
  for (int i = 0; i < kSample; ++i) {
    const float x = args.exp_arg();
    const float mine = exp_single(x), ref = reference::exp(x);
    EXPECT_TRUE(reference::same(mine, ref)) << "exp(" << x << ") = " << mine << ", correctly rounded " << ref;
  }
}

TEST(ElementaryReference, PowIsCorrectlyRoundedTwice) {
  reference::Arguments args(3);
  for (int i = 0; i < kSample; ++i) {
    float b, y;
    args.pow_args(b, y);
    const float mine = pow_single(b, y), ref = reference::pow(b, y);
    EXPECT_TRUE(reference::same(mine, ref))
        << "pow(" << b << ", " << y << ") = " << mine << ", correctly rounded " << ref;
  }
}

// Arguments that start at a low precision and must be refined agree too.
TEST(ElementaryReference, RefinedResultsAreCorrectlyRounded) {
  reference::Arguments args(4);
  for (int i = 0; i < 500; ++i) {
    const float x = args.ln_arg();
    EXPECT_TRUE(reference::same(elementary_detail::ln_single_from(x, 24), reference::ln(x))) << x;
    const float e = args.exp_arg();
    EXPECT_TRUE(reference::same(elementary_detail::exp_single_from(e, 12), reference::exp(e))) << e;
    float b, y;
    args.pow_args(b, y);
    EXPECT_TRUE(reference::same(elementary_detail::pow_single_from(b, y, 12), reference::pow(b, y))) << b << " " << y;
  }
}

#else

TEST(ElementaryReference, NeedsMpfr) {
  GTEST_SKIP() << "MPFR was not found when the build was configured (Debian package libmpfr-dev): "
                  "ln, exp and pow are NOT compared with a correctly rounded reference";
}

#endif

}  // namespace
}  // namespace amostra
