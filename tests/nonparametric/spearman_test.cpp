// Spearman rank correlation: tied values, the capacity and huge counts.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

TEST(Spearman, TiedValuesShareTheAverageOfTheirPositions) {
  // With the highest position for each tied value these ten pairs give
  // rs = -1.697 (five asterisks) and a t that is not a number.
  auto s = run_session(
      "14\n1\n10\n1 4\n2 4\n4 3\n4 1\n1 4\n3 4\n4 2\n4 1\n2 4\n3 4\n0\n");
  EXPECT_EQ(record_with(s.out, "SPEARMAN ="), " ** Coeficiente de SPEARMAN = -.579  *** t = -2.01 **");
}

TEST(Spearman, CapacityAndTheCubeOfHugeCounts) {
  auto s = run_session("14\n1\n201\n0\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refusal(200));
  EXPECT_EQ(count_of(s.out, "Quantos pares"), 2);
  // n^3 - n wraps around in 32 bits to 589936592: rs = 1 - 0 / 589936592 = 1.
  s = run_session("14\n1\n-2000\n0\n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(record_with(s.out, "SPEARMAN ="), " ** Coeficiente de SPEARMAN = 1.000  *** t = ***** **");
}

}  // namespace
}  // namespace amostra::test
