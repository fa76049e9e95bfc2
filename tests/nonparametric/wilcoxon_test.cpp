// Wilcoxon signed-rank test: two hundred pairs at capacity, and which sum T is.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

const std::string kRefusal = " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =";

TEST(Wilcoxon, TwoHundredPairsAreAcceptedAndTakeTheNormalApproximation) {
  std::string in = "12\n1\n200\n";
  for (int j = 1; j <= 200; ++j) in += std::to_string(j) + " 0\n";
  auto s = run_session(in + "0\n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(count_of(s.out, kRefusal), 0);
  // T = 0, numt = -201*200/4 = -10050, dent = sqrt(201*200*401/24) = 819.5578.
  EXPECT_EQ(record_with(s.out, "Zc ="), " ****  Zc =  12.26  *****  Z tabelar = 1.96 ** 200 ****");
  EXPECT_EQ(count_of(s.out, "Digitar ZER0"), 1);
}

TEST(Wilcoxon, TheSignIsChosenByItsCountNotByItsSum) {
  // Differences 1, 2, 3, -10, -11: ranks 1, 2, 3 positive (sum 6) and 4, 5
  // negative (sum 9).  The negatives are fewer, so T is their sum, 9, not the
  // smaller sum 6.
  auto s = run_session("12\n1\n5\n1 0\n2 0\n3 0\n0 10\n0 11\n");
  EXPECT_EQ(record_with(s.out, "T ="), " *****  T =   9.00  *****  Ver Tabela para N =   5 ****");
  // Differences 10, -1, -2, -3: one positive of rank 4 against three
  // negatives (sum 6): T = 4.
  s = run_session("12\n1\n4\n10 0\n0 1\n0 2\n0 3\n");
  EXPECT_EQ(record_with(s.out, "T ="), " *****  T =   4.00  *****  Ver Tabela para N =   4 ****");
}

}  // namespace
}  // namespace amostra::test
