// Kruskal-Wallis test: the repetitions' limit for each number of treatments,
// and counts whose products wrap around.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

TEST(KruskalWallis, RepetitionsFitTheRowsAndTheTwoHundredValues) {
  struct Case {
    const char* treatments;
    int maximum;
  } cases[] = {{"20", 10}, {"7", 28}, {"3", 66}, {"2", 100}, {"1", 100}, {"0", 100}, {"-4", 100}};
  for (const Case& k : cases) {
    auto s = run_session(std::string("15\n1\n") + k.treatments + "\n" + std::to_string(k.maximum + 1) + "\n0\n0\n");
    EXPECT_EQ(record_with(s.out, "MAXIMO ="), refusal(k.maximum)) << k.treatments;
    EXPECT_EQ(count_of(s.out, "Quantas repeticoes"), 2) << k.treatments;
    EXPECT_EQ(count_of(s.out, "Digitar dado"), 0) << k.treatments;
  }
  auto s = run_session("15\n1\n21\n20\n0\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refusal(20));
}

TEST(KruskalWallis, HugeCountsWrapAroundInsteadOfOverflowing) {
  // nc * nl = -4294967294 wraps around to 2: h = (12 / 6) * 0 - 3 * 3 = -9;
  // nc - 1 is the most negative integer, shown as two asterisks by I2.
  auto s = run_session("15\n1\n-2147483647\n2\n0\n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(record_with(s.out, "H ="), " ***  H =   -9.00 ***  Graus de liberdade = **    ***");
  // Two negative counts: no datum is read and n = 6 > 0: h = -3 (n + 1) = -21.
  s = run_session("15\n1\n-2\n-3\n0\n");
  EXPECT_EQ(record_with(s.out, "H ="), " ***  H =  -21.00 ***  Graus de liberdade = -3    ***");
}

}  // namespace
}  // namespace amostra::test
