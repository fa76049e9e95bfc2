// Focused checks of the rank tests: the result records of chosen data, the
// capacity of each count, and the counts that would overflow.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/session.hpp"

namespace amostra {
namespace {

using test::run_session;

// The record of `out` holding `marker` (without its CR LF); empty if none.
std::string record_with(const std::string& out, const std::string& marker) {
  std::size_t at = out.find(marker);
  if (at == std::string::npos) return "";
  std::size_t start = out.rfind('\n', at);
  start = start == std::string::npos ? 0 : start + 1;
  return out.substr(start, out.find("\r\n", at) - start);
}

int count_of(const std::string& out, const std::string& text) {
  int n = 0;
  for (std::size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1)) ++n;
  return n;
}

const std::string kRefusal = " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =";

std::string refused(int maximum) {
  std::ostringstream s;
  s << kRefusal << ' ';
  s.width(11);
  s << maximum;
  return s.str();
}

// Mann-Whitney input: menu, sizes and data, one value a line.
std::string mann_input(const std::string& x_size, const std::string& xs, const std::string& y_size,
                       const std::string& ys) {
  return "13\n1\n" + x_size + "\n" + xs + y_size + "\n" + ys + "0\n";
}

TEST(H5Wilcoxon, TwoHundredPairsAreAcceptedAndTakeTheNormalApproximation) {
  std::string in = "12\n1\n200\n";
  for (int j = 1; j <= 200; ++j) in += std::to_string(j) + " 0\n";
  auto s = run_session(in + "0\n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(count_of(s.out, kRefusal), 0);
  // T = 0, numt = -201*200/4 = -10050, dent = sqrt(201*200*401/24) = 819.5578.
  EXPECT_EQ(record_with(s.out, "Zc ="), " ****  Zc =  12.26  *****  Z tabelar = 1.96 ** 200 ****");
  EXPECT_EQ(count_of(s.out, "Digitar ZER0"), 1);
}

TEST(H5Wilcoxon, TheSignIsChosenByItsCountNotByItsSum) {
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

TEST(H5MannWhitney, DataAreRankedByValueWithTheirOwnSample) {
  // (A zero typed for X and negative data: golden sessions mann_zero_in_x,
  // where the sign scheme would print 1.00, and mann_negative_data, 3.00.)
  // -1 and 1 are different values: X = -1, 1 and Y = 1, 3 give X the ranks
  // 1 and 2.5, R1 = 3.5, U = 0.50.  With the sign of a negated X value as the
  // mark and the magnitude as the key, the -1 typed for X would count in Y,
  // the three values of size 1 would tie at rank 2 and U would print 1.00.
  auto s = run_session(mann_input("2", "-1\n1\n", "2", "1\n3\n"));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =   0.50  ***  Ver Tabela para N =   2 e   2  **");
}

TEST(H5MannWhitney, SampleYGetsWhatSampleXLeavesOfTheCapacity) {
  std::string xs;
  for (int j = 0; j < 200; ++j) xs += "1\n";
  auto s = run_session(mann_input("200", xs, "1", "") + "0\n");
  // nx = 200 leaves no room: ny = 1 is refused with maximum 0, then 0 typed.
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refused(0));
  EXPECT_EQ(count_of(s.out, "Tamanho da amostra Y"), 2);

  // A negative nx is taken as 0: ny may go up to 200.
  s = run_session("13\n1\n-5\n201\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refused(200));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =  10.00  ***  Ver Tabela para N =  -5 e   0  **");
}

TEST(H5MannWhitney, ANegativeYSizeShortensThePooledSample) {
  // n = nx + ny = 2: only the first two pooled positions (X = 1, 2) are
  // sorted and ranked, R1 = 3; u1 = -8 + 10 - 3 = -1, u2 = -7, U = 1.
  auto s = run_session(mann_input("4", "1\n2\n3\n4\n", "-2", ""));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =   1.00  ***  Ver Tabela para N =   4 e  -2  **");
}

TEST(H5Spearman, TiedValuesShareTheAverageOfTheirPositions) {
  // With the highest position for each tied value these ten pairs give
  // rs = -1.697 (five asterisks) and a t that is not a number.
  auto s = run_session(
      "14\n1\n10\n1 4\n2 4\n4 3\n4 1\n1 4\n3 4\n4 2\n4 1\n2 4\n3 4\n0\n");
  EXPECT_EQ(record_with(s.out, "SPEARMAN ="), " ** Coeficiente de SPEARMAN = -.579  *** t = -2.01 **");
}

TEST(H5Spearman, CapacityAndTheCubeOfHugeCounts) {
  auto s = run_session("14\n1\n201\n0\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refused(200));
  EXPECT_EQ(count_of(s.out, "Quantos pares"), 2);
  // n^3 - n wraps around in 32 bits to 589936592: rs = 1 - 0 / 589936592 = 1.
  s = run_session("14\n1\n-2000\n0\n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(record_with(s.out, "SPEARMAN ="), " ** Coeficiente de SPEARMAN = 1.000  *** t = ***** **");
}

TEST(H5KruskalWallis, RepetitionsFitTheRowsAndTheTwoHundredValues) {
  struct Case {
    const char* treatments;
    int maximum;
  } cases[] = {{"20", 10}, {"7", 28}, {"3", 66}, {"2", 100}, {"1", 100}, {"0", 100}, {"-4", 100}};
  for (const Case& k : cases) {
    auto s = run_session(std::string("15\n1\n") + k.treatments + "\n" + std::to_string(k.maximum + 1) + "\n0\n0\n");
    EXPECT_EQ(record_with(s.out, "MAXIMO ="), refused(k.maximum)) << k.treatments;
    EXPECT_EQ(count_of(s.out, "Quantas repeticoes"), 2) << k.treatments;
    EXPECT_EQ(count_of(s.out, "Digitar dado"), 0) << k.treatments;
  }
  auto s = run_session("15\n1\n21\n20\n0\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refused(20));
}

TEST(H5KruskalWallis, HugeCountsWrapAroundInsteadOfOverflowing) {
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
}  // namespace amostra
