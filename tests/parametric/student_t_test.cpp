// Student's t: which sample is the numerator, degenerate sizes, both samples at
// capacity and a null answer to a refused size.
// Whole sessions are in the golden transcripts; here only the records that
// matter are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

std::string f_record(const std::string& fc) { return " *" + std::string(25, ' ') + "Fc = " + fc + std::string(26, ' ') + "*"; }
// `side` is "numerador  " or "denominador".
std::string df_record(const std::string& side, const std::string& gl) {
  return " *" + std::string(9, ' ') + "Graus de liberdade do " + side + " = " + gl + std::string(13, ' ') + "*";
}
std::string t_record(const std::string& tc, const std::string& glf) {
  return " *    t calculado = " + tc + "   ////  Graus de liberdade  " + glf + "     *";
}

TEST(StudentT, EqualVariancesPutSampleBAsNumerator) {
  // A = 1 2 3 and B = 0 0 1 2 2 both have variance 1.
  std::string out = out_of("2\n1\n3\n5\n1\n2\n3\n0\n0\n1\n2\n2\n0\n0\n");
  EXPECT_TRUE(has_record(out, " * MEDa=   2.00  VARa=   1.00 /// MEDb=   1.00 VARb=   1.00     *"));
  EXPECT_TRUE(has_record(out, f_record("  1.00")));
  EXPECT_TRUE(has_record(out, df_record("numerador  ", "  4.")));
  EXPECT_TRUE(has_record(out, df_record("denominador", "  2.")));
}

TEST(StudentT, SizesOneAndZeroCarryOnWithNotANumber) {
  std::string out = out_of("2\n1\n1\n0\n5\n0\n0\n");
  EXPECT_TRUE(has_record(out, " * MEDa=   5.00  VARa=    NaN /// MEDb=    NaN VARb=    NaN     *"));
  EXPECT_TRUE(has_record(out, f_record("   NaN")));
  // Not a number fails the comparison: sample B's side is the numerator.
  EXPECT_TRUE(has_record(out, df_record("numerador  ", " -1.")));
  EXPECT_TRUE(has_record(out, df_record("denominador", "  0.")));
  EXPECT_TRUE(has_record(out, t_record("   NaN", " -1.")));
}

TEST(StudentT, BothSamplesAtCapacity) {
  std::string data = one_per_line(200);
  std::string out = out_of("2\n1\n200\n201\n200\n" + data + data + "0\n0\n");
  EXPECT_EQ(count_records(out, refusal(200)), 1);
  EXPECT_TRUE(has_record(out, " *  Digitar o dado numero 200 da amostra B  *"));
  EXPECT_TRUE(has_record(out, " * MEDa= 100.50  VARa=3350.00 /// MEDb= 100.50 VARb=3350.00     *"));
  EXPECT_TRUE(has_record(out, t_record("  0.00", "398.")));
}

TEST(StudentT, NullAnswerToARefusedSizeKeepsItAndIsRefusedAgain) {
  // A lone comma leaves the refused 300 in `nx`: the question comes a third time.
  std::string out = out_of("2\n1\n300\n,\n2\n2\n1\n2\n3\n4\n0\n0\n");
  EXPECT_EQ(count_records(out, refusal(200)), 2);
  EXPECT_EQ(count_records(out, " ***     Qual o tamanho da amostra 'A'?  na =      "), 3);
  // A = 1 2 and B = 3 4: t = -2 / sqrt(4 * 0.5 / 4).
  EXPECT_TRUE(has_record(out, t_record(" -2.83", "  2.")));
}

}  // namespace
}  // namespace amostra::test
