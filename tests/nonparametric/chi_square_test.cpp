// Chi-square tests: result records of whole sessions (fields that overflow,
// divisions by zero, typed fractions) and the capacity limits of the counts.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra {
namespace {

using test::has_records;
using test::records;

std::string session_output(const std::string& typed) { return test::application_output(9, typed); }

const std::string kStars42 = " " + std::string(42, '*');

TEST(ChiSquareGoodness, AThousandOrMoreOverflowsTheField) {
  std::string out = session_output("1\n1\n1000 1\n");  // 999 * 999 / 1
  EXPECT_TRUE(has_records(out, {kStars42, " * Qui-Quadrado = ******    **     GL = 0 *", kStars42}));
}

TEST(ChiSquareGoodness, ZeroExpectedFrequencyGivesInfinity) {
  std::string out = session_output("1\n2\n10 0\n5 5\n");
  EXPECT_TRUE(has_records(out, {" * Qui-Quadrado =   +Inf    **     GL = 1 *"}));
}

TEST(ChiSquareGoodness, FractionalFrequenciesAreUsedAsTyped) {
  // (2.5 - 2)^2 / 2 = 0.125, rounded half away from zero in F6.2.
  std::string out = session_output("1\n1\n2.5,2\n");
  EXPECT_TRUE(has_records(out, {" * Qui-Quadrado =   0.13    **     GL = 0 *"}));
}

TEST(ChiSquareGoodness, NegativeCountReadsNoPair) {
  std::string out = session_output("1\n-3\n");
  EXPECT_EQ(out.find("Digitar o par"), std::string::npos);
  EXPECT_TRUE(has_records(out, {" * Qui-Quadrado =   0.00    **     GL =-4 *"}));
}

TEST(ChiSquareGoodness, AHundredPairsFitAndMoreAreRefused) {
  std::string pairs;
  for (int k = 0; k < 100; ++k) pairs += "4 5\n";
  std::string out = session_output("1\n101\n100\n" + pairs);  // 100 * 1/5 = 20
  EXPECT_TRUE(has_records(out, {"", " ***  Quantos pares de Fo e Fe serao analisados?   ***", "",
                                " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =         100", "",
                                " ***  Quantos pares de Fo e Fe serao analisados?   ***", ""}));
  EXPECT_TRUE(has_records(out, {" Digitar o par de dados numero 99", "", " Digitar o par de dados numero **", ""}));
  EXPECT_TRUE(has_records(out, {" * Qui-Quadrado =  20.00    **     GL =99 *"}));
}

TEST(ChiSquareIndependence, ColumnsAboveFiftyAreRefused) {
  std::string out = session_output("2\n1\n51\n2\n3\n6\n");
  EXPECT_TRUE(has_records(out, {" Quantas colunas tem a tabela? ", "",
                                " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =          50", "",
                                " Quantas colunas tem a tabela? ", "", " ** Dado da celula: linha  1 coluna  1 **"}));
  EXPECT_TRUE(has_records(out, {" *********** Qui-quadrado =   0.00   GL =   0 *********"}));
}

TEST(ChiSquareIndependence, NoColumnsStillClosesEachRow) {
  std::string out = session_output("2\n2\n0\n");
  EXPECT_TRUE(has_records(out, {"    *** Digitacao da linha  1 concluida ***", "",
                                "    *** Digitacao da linha  2 concluida ***", "", ""}));
  EXPECT_TRUE(has_records(out, {" *********** Qui-quadrado =   0.00   GL =  -1 *********"}));
}

TEST(ChiSquareIndependence, ThreeByTwoTable) {
  // Rows (5, 15), (10, 10), (15, 5): expected 10 everywhere, chi-square
  // 25/10 * 4 = 10.00 with 2 degrees of freedom.
  std::string out = session_output("2\n3\n2\n5\n15\n10\n10\n15\n5\n");
  EXPECT_TRUE(has_records(out, {" *********** Qui-quadrado =  10.00   GL =   2 *********"}));
}

}  // namespace
}  // namespace amostra
