// Focused checks of sample size, Student's t, paired t and the Z test for
// proportions: degenerate data, the capacity limits and boundaries.  Whole
// sessions are in the golden transcripts; here only the records that matter
// are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

const std::string kRefusal = " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =         200";

// Standard output of a session that must end normally.
std::string out_of(const std::string& input) {
  Session s = run_session(input);
  EXPECT_EQ(s.status, 0) << s.err;
  return s.out;
}

// Whether `out` holds `record` as a whole record.
bool has(const std::string& out, const std::string& record) {
  return out.find("\n" + records({record})) != std::string::npos;
}

int count(const std::string& out, const std::string& record) {
  std::string r = "\n" + records({record});
  int n = 0;
  for (std::size_t at = out.find(r); at != std::string::npos; at = out.find(r, at + 1)) ++n;
  return n;
}

// "1\n2\n...\nlast\n": one value per line.
std::string one_per_line(int last) {
  std::string s;
  for (int j = 1; j <= last; ++j) s += std::to_string(j) + "\n";
  return s;
}

// ---- Sample size ------------------------------------------------------------

std::string continuous_result(const std::string& erro, const std::string& size) {
  return " * Erro maximo aceitavel = " + erro + " // Tamanho da amostra = " + size + "*";
}

TEST(H1SampleSize, ErrorInTheUnitOfTheMean) {
  // 4.0 * 25 / 2² = 25; the mean takes no part.
  std::string out = out_of("1\n1\n2\n1\n25\n50\n1\n2\n0\n");
  EXPECT_TRUE(has(out, continuous_result("  2.00", "   25.")));
}

TEST(H1SampleSize, ZeroErrorAndZeroMeanPrintAsInfinities) {
  EXPECT_TRUE(has(out_of("1\n1\n2\n1\n25\n50\n1\n0\n0\n"), continuous_result("  0.00", "  +Inf")));
  // A zero mean makes the coefficient of variation infinite.
  EXPECT_TRUE(has(out_of("1\n1\n2\n1\n25\n0\n2\n0.1\n0\n"), continuous_result("  0.10", "  +Inf")));
}

TEST(H1SampleSize, SizesBeyondTheirFieldsPrintAsterisks) {
  // 4 * 0.25 / 0.0001² is above 9,999,999; the error itself prints as 0.00.
  EXPECT_TRUE(has(out_of("1\n1\n1\n0\n0.0001\n0\n"),
                  " * Para um erro maximo = 0.00 /// Tamanho da amostra = ******** *"));
  // 4 * 1000000 / 1² is above 99,999.
  EXPECT_TRUE(has(out_of("1\n1\n2\n1\n1000000\n1\n1\n1\n0\n"), continuous_result("  1.00", "******")));
}

TEST(H1SampleSize, PilotOfOneOrNoValueGivesNotANumber) {
  // One value: the variance divides 0 by 0.
  std::string one = out_of("1\n1\n2\n0\n1\n3\n1\n1\n0\n");
  EXPECT_EQ(count(one, " Digitar dado numero            1"), 1);
  EXPECT_TRUE(has(one, continuous_result("  1.00", "   NaN")));
  // No value: the mean is 0/0 too, and no datum is asked for.
  std::string none = out_of("1\n1\n2\n0\n0\n2\n0.5\n0\n");
  EXPECT_EQ(none.find("Digitar dado"), std::string::npos);
  EXPECT_TRUE(has(none, continuous_result("  0.50", "   NaN")));
}

TEST(H1SampleSize, PilotSampleAtCapacity) {
  // 201 is refused; 200 values 1..200 have variance 3350 and 4 * 3350 / 10² = 134.
  std::string out = out_of("1\n1\n2\n0\n201\n200\n" + one_per_line(200) + "1\n10\n0\n");
  EXPECT_EQ(count(out, kRefusal), 1);
  EXPECT_EQ(count(out, " ****  Quantos dados serao digitados? (N >=20)  ****"), 2);
  EXPECT_TRUE(has(out, " Digitar dado numero          200"));
  EXPECT_TRUE(has(out, continuous_result(" 10.00", "  134.")));
}

TEST(H1SampleSize, NullAnswerKeepsTheStartingZero) {
  // A lone comma leaves `estima` at 0: no estimate, p = 0.5.
  std::string out = out_of("1\n1\n1\n,\n0.05\n0\n");
  EXPECT_EQ(out.find("Informe o valor do p estimado"), std::string::npos);
  EXPECT_TRUE(has(out, " * Para um erro maximo = 0.05 /// Tamanho da amostra =     400. *"));
}

// ---- Student's t ------------------------------------------------------------

std::string f_record(const std::string& fc) { return " *" + std::string(25, ' ') + "Fc = " + fc + std::string(26, ' ') + "*"; }
// `side` is "numerador  " or "denominador".
std::string df_record(const std::string& side, const std::string& gl) {
  return " *" + std::string(9, ' ') + "Graus de liberdade do " + side + " = " + gl + std::string(13, ' ') + "*";
}
std::string t_record(const std::string& tc, const std::string& glf) {
  return " *    t calculado = " + tc + "   ////  Graus de liberdade  " + glf + "     *";
}

TEST(H1StudentT, EqualVariancesPutSampleBAsNumerator) {
  // A = 1 2 3 and B = 0 0 1 2 2 both have variance 1.
  std::string out = out_of("2\n1\n3\n5\n1\n2\n3\n0\n0\n1\n2\n2\n0\n0\n");
  EXPECT_TRUE(has(out, " * MEDa=   2.00  VARa=   1.00 /// MEDb=   1.00 VARb=   1.00     *"));
  EXPECT_TRUE(has(out, f_record("  1.00")));
  EXPECT_TRUE(has(out, df_record("numerador  ", "  4.")));
  EXPECT_TRUE(has(out, df_record("denominador", "  2.")));
}

TEST(H1StudentT, SizesOneAndZeroCarryOnWithNotANumber) {
  std::string out = out_of("2\n1\n1\n0\n5\n0\n0\n");
  EXPECT_TRUE(has(out, " * MEDa=   5.00  VARa=    NaN /// MEDb=    NaN VARb=    NaN     *"));
  EXPECT_TRUE(has(out, f_record("   NaN")));
  // Not a number fails the comparison: sample B's side is the numerator.
  EXPECT_TRUE(has(out, df_record("numerador  ", " -1.")));
  EXPECT_TRUE(has(out, df_record("denominador", "  0.")));
  EXPECT_TRUE(has(out, t_record("   NaN", " -1.")));
}

TEST(H1StudentT, BothSamplesAtCapacity) {
  std::string data = one_per_line(200);
  std::string out = out_of("2\n1\n200\n201\n200\n" + data + data + "0\n0\n");
  EXPECT_EQ(count(out, kRefusal), 1);
  EXPECT_TRUE(has(out, " *  Digitar o dado numero 200 da amostra B  *"));
  EXPECT_TRUE(has(out, " * MEDa= 100.50  VARa=3350.00 /// MEDb= 100.50 VARb=3350.00     *"));
  EXPECT_TRUE(has(out, t_record("  0.00", "398.")));
}

TEST(H1StudentT, NullAnswerToARefusedSizeKeepsItAndIsRefusedAgain) {
  // A lone comma leaves the refused 300 in `nx`: the question comes a third time.
  std::string out = out_of("2\n1\n300\n,\n2\n2\n1\n2\n3\n4\n0\n0\n");
  EXPECT_EQ(count(out, kRefusal), 2);
  EXPECT_EQ(count(out, " ***     Qual o tamanho da amostra 'A'?  na =      "), 3);
  // A = 1 2 and B = 3 4: t = -2 / sqrt(4 * 0.5 / 4).
  EXPECT_TRUE(has(out, t_record(" -2.83", "  2.")));
}

// ---- Paired t ---------------------------------------------------------------

std::string paired_record(const std::string& t, const std::string& gl) {
  return " " + std::string(11, '*') + " 't' = " + t + " /// Graus de liberdade = " + gl + " " + std::string(10, '*');
}

TEST(H1PairedT, SwappingTheMembersChangesOnlyTheSign) {
  EXPECT_TRUE(has(out_of("3\n1\n4\n8 10\n9 12\n8 9\n7 11\n0\n"), paired_record(" -3.87", "  3")));
}

TEST(H1PairedT, IdenticalDifferencesGiveAnInfiniteT) {
  EXPECT_TRUE(has(out_of("3\n1\n3\n3 1\n5 3\n4 2\n0\n"), paired_record("  +Inf", "  2")));
}

TEST(H1PairedT, OnePairDividesZeroByZero) {
  EXPECT_TRUE(has(out_of("3\n1\n1\n5 2\n0\n"), paired_record("   NaN", "  0")));
}

TEST(H1PairedT, TwoHundredPairsAtCapacity) {
  // Differences 1..200: mean 100.5, variance 3350, t = 100.5 / (57.879 / 14.142) = 24.56.
  std::string pairs;
  for (int j = 1; j <= 200; ++j) pairs += std::to_string(j) + " 0\n";
  std::string out = out_of("3\n1\n250\n200\n" + pairs + "0\n");
  EXPECT_EQ(count(out, kRefusal), 1);
  EXPECT_EQ(count(out, " ***** Quandos pares serão digitados?  *****"), 2);
  EXPECT_TRUE(has(out, " Digitar o par (Xa e Xd) numero 200"));
  EXPECT_TRUE(has(out, paired_record(" 24.56", "199")));
}

// ---- Negative counts -----------------------------------------------------

TEST(H1NegativeCounts, AreAcceptedAndReadNothing) {
  // Pilot sample of -5: empty sums, the variance is 0 / -6, a negative zero.
  std::string pilot = out_of("1\n1\n2\n0\n-5\n1\n1\n0\n");
  EXPECT_EQ(pilot.find("Digitar dado"), std::string::npos);
  EXPECT_TRUE(has(pilot, continuous_result("  1.00", "   -0.")));
  // Sample A of -1: its mean is 0 / -1, a negative zero.
  std::string student = out_of("2\n1\n-1\n2\n4\n6\n0\n0\n");
  EXPECT_EQ(student.find("da amostra A"), std::string::npos);
  EXPECT_TRUE(has(student, " * MEDa=  -0.00  VARa=  -0.00 /// MEDb=   5.00 VARb=   2.00     *"));
  // -2 pairs: none is read, and the degrees of freedom are the pairs read less one.
  std::string paired = out_of("3\n1\n-2\n0\n");
  EXPECT_EQ(paired.find("Digitar o par"), std::string::npos);
  EXPECT_TRUE(has(paired, paired_record("   NaN", " -1")));
  for (const std::string* out : {&pilot, &student, &paired}) EXPECT_EQ(count(*out, kRefusal), 0);
}

// ---- Z test for proportions -------------------------------------------------

// Output of a Z session; every path ends at once with "Fim do Programa".
std::string z_session(const std::string& answers) {
  std::string out = out_of("11\n1\n" + answers);
  EXPECT_EQ(out.find("Digitar ZER0"), std::string::npos);
  const std::string end = records({" Fim do Programa"});
  EXPECT_EQ(out.compare(out.size() - end.size(), end.size(), end), 0);
  return out;
}

std::string z_record(const std::string& z, const std::string& res) {
  return " **" + std::string(13, ' ') + "Z = " + z + " /// " + res + std::string(7, ' ') + "**";
}

TEST(H1ZProportions, OneSampleProductOfExactlyFiveIsEnough) {
  std::string out = z_session("1\n0.5\n0.5\n10\n");
  EXPECT_TRUE(has(out, z_record(" 0.00", "Aceitamos_Ho  ")));
}

TEST(H1ZProportions, ZAtTheCriticalValueIsAccepted) {
  // p1 = 0.637280762 against 0.5, both of 100: z rounds to the single 1.96 itself.
  EXPECT_TRUE(has(z_session("2\n0.637280762\n100\n0.5\n100\n"), z_record(" 1.96", "Aceitamos_Ho  ")));
  // One step up in p1: z is 1.960001, above the constant.
  EXPECT_TRUE(has(z_session("2\n0.637280822\n100\n0.5\n100\n"), z_record(" 1.96", "Rejeitamos_Ho ")));
}

TEST(H1ZProportions, LargeZPrintsAsterisks) {
  // 0.49 / sqrt(0.25 / 1000000) = 980.
  EXPECT_TRUE(has(z_session("1\n0.5\n0.99\n1000000\n"), z_record("*****", "Rejeitamos_Ho ")));
}

TEST(H1ZProportions, NotANumberIsRejected) {
  // P = 2 puts a negative number under the square root.
  EXPECT_TRUE(has(z_session("1\n2\n0.5\n100\n"), z_record("  NaN", "Rejeitamos_Ho ")));
}

TEST(H1ZProportions, ZeroSizeInTwoSamplesIsInsufficient) {
  std::string out = z_session("2\n0.5\n0\n0.5\n100\n");
  EXPECT_TRUE(has(out, "  *Amostra 1 é insuficente. Ampliar a amostra  e refazer o teste * "));
  EXPECT_EQ(out.find("Z = "), std::string::npos);
}

}  // namespace
}  // namespace amostra::test
