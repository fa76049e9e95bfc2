// Runs test of randomness: whole sessions whose result records show the
// marks, the runs and the verdict.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra {
namespace {

using test::has_records;
using test::records;

// A session of the runs test: size, kind, then each line of `data` as typed.
std::string session_output(int n, int tipo, const std::string& data) {
  return test::application_output(8, std::to_string(n) + "\n" + std::to_string(tipo) + "\n" + data);
}

std::string repeat(const std::string& line, int times) {
  std::string s;
  for (int k = 0; k < times; ++k) s += line;
  return s;
}

TEST(RunsSession, TwoBlocksOfAttributesGiveTwoRuns) {
  std::string out = session_output(20, 3, repeat("0\n", 10) + repeat("1\n", 10));
  EXPECT_TRUE(has_records(out, {" VALOR DE Z =    4.1352143    ", " N1 =          10   N2 =          10",
                                " MR =   11.000000     SR =    2.1764288     R =    2.0000000    ",
                                " Z > 1.96 REJEITAMOS H0. AMOSTRA NAO-ALEATORIA", ""}));
}

TEST(RunsSession, ElevenRunsOfTenAndTenAreRandom) {
  // 00 11 00 11 00 11 00 11 0 11 0: six runs of 0 and five of 1.
  std::string out = session_output(20, 3, repeat("0\n0\n1\n1\n", 4) + "0\n1\n1\n0\n");
  EXPECT_TRUE(has_records(out, {" VALOR DE Z =    0.0000000    ", " N1 =          10   N2 =          10",
                                " MR =   11.000000     SR =    2.1764288     R =    11.000000    ",
                                " Z <= 1.96 ACEITAMOS H0. AMOSTRA ALEATORIA", "", ""}));
}

TEST(RunsSession, TwoHundredObservationsAreAccepted) {
  std::string out = session_output(200, 3, repeat("0\n1\n", 100));
  EXPECT_TRUE(has_records(out, {" N1 =         100   N2 =         100"}));
  EXPECT_EQ(out.find("AMOSTRA EST"), std::string::npos);
}

TEST(RunsSession, LargeWholeNumbersKeepTheirMedian) {
  // The two middle values sum beyond the 32-bit range; the median stays
  // 2050000000 and the data alternate about it.
  std::string out = session_output(20, 1, repeat("2000000000\n2100000000\n", 10));
  EXPECT_TRUE(has_records(out, {" MR =   11.000000     SR =    2.1764288     R =    20.000000    "}));
}

TEST(RunsSession, AMiddleValueAboveTwoToTheTwentyFourEqualsTheMedian) {
  // N odd: the median is the middle value 16777217 itself (a single would hold
  // 16777216), so that value is marked 0 like the values below it.
  std::string out = session_output(21, 1, "16777217\n" + repeat("0\n1000000000\n", 10));
  EXPECT_TRUE(has_records(out, {" N1 =          11   N2 =          10",
                                " MR =   11.476191     SR =    2.2279406     R =    20.000000    "}));
}

TEST(RunsSession, AHalfMedianAboveTwoToTheTwentyFourStaysAHalf) {
  // N even, middle values 16777217 and 16777218: the median 16777217.5 (a
  // single would hold 16777218) marks 16777218 as 1 and 16777217 as 0.
  std::string out = session_output(20, 1, "16777218\n" + repeat("0\n1000000000\n", 9) + "16777217\n");
  EXPECT_TRUE(has_records(out, {" N1 =          10   N2 =          10",
                                " MR =   11.000000     SR =    2.1764288     R =    20.000000    "}));
}

TEST(RunsSession, NineDecimalsAreAcceptedAndScaledExactly) {
  // 1.5 and 1.6 with 9 decimals: 1500000000 and 1600000000, alternating.
  std::string out = session_output(20, 2, "9\n" + repeat("1.5\n1.6\n", 10));
  EXPECT_EQ(out.find("MAXIMO"), std::string::npos);
  EXPECT_TRUE(has_records(out, {" MR =   11.000000     SR =    2.1764288     R =    20.000000    "}));
}

TEST(RunsSession, AnyOtherKindTakesTheMeasurementPath) {
  // Kind 4: the number of decimals is asked and the typed reals are scaled.
  std::string out = session_output(20, 4, "1\n" + repeat("0.1\n0.2\n", 10));
  EXPECT_TRUE(has_records(out, {" NUMERO DE CASAS DECIMAIS DAS MENSURACOES"}));
  EXPECT_TRUE(has_records(out, {" DIGITAR A INFORMACAO REFERENTE AO ELEMENTO DE ORDEM           1"}));
  EXPECT_TRUE(has_records(out, {" MR =   11.000000     SR =    2.1764288     R =    20.000000    "}));
}

TEST(RunsSession, NegativeDecimalsMakeEveryValueZero) {
  std::string out = session_output(20, 2, "-1\n" + repeat("3.5\n7.25\n", 10));
  EXPECT_TRUE(has_records(out, {" VALOR DE Z =              NaN", " N1 =          20   N2 =           0"}));
  EXPECT_TRUE(has_records(out, {" Z <= 1.96 ACEITAMOS H0. AMOSTRA ALEATORIA"}));
}

TEST(RunsSession, DecimalsAreAskedAgainUntilNineOrFewer) {
  std::string out = session_output(20, 2, "12\n10\n0\n" + repeat("1\n2\n", 10));
  const std::string refusal = records({" NUMERO DE CASAS DECIMAIS DAS MENSURACOES", "",
                                       " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =           9", ""});
  EXPECT_NE(out.find(refusal + refusal + records({" NUMERO DE CASAS DECIMAIS DAS MENSURACOES", " " + std::string(55, '*')})),
            std::string::npos);
}

}  // namespace
}  // namespace amostra
