// Sample size: degenerate pilot samples, results beyond their fields, the
// capacity of the pilot sample and null answers.
// Whole sessions are in the golden transcripts; here only the records that
// matter are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "parametric/result_records.hpp"
#include "support/session.hpp"

namespace amostra::test {
namespace {

TEST(SampleSize, ErrorInTheUnitOfTheMean) {
  // 4.0 * 25 / 2² = 25; the mean takes no part.
  std::string out = out_of("1\n1\n2\n1\n25\n50\n1\n2\n0\n");
  EXPECT_TRUE(has_record(out, continuous_result("  2.00", "   25.")));
}

TEST(SampleSize, ZeroErrorAndZeroMeanPrintAsInfinities) {
  EXPECT_TRUE(has_record(out_of("1\n1\n2\n1\n25\n50\n1\n0\n0\n"), continuous_result("  0.00", "  +Inf")));
  // A zero mean makes the coefficient of variation infinite.
  EXPECT_TRUE(has_record(out_of("1\n1\n2\n1\n25\n0\n2\n0.1\n0\n"), continuous_result("  0.10", "  +Inf")));
}

TEST(SampleSize, SizesBeyondTheirFieldsPrintAsterisks) {
  // 4 * 0.25 / 0.0001² is above 9,999,999; the error itself prints as 0.00.
  EXPECT_TRUE(has_record(out_of("1\n1\n1\n0\n0.0001\n0\n"),
                  " * Para um erro maximo = 0.00 /// Tamanho da amostra = ******** *"));
  // 4 * 1000000 / 1² is above 99,999.
  EXPECT_TRUE(has_record(out_of("1\n1\n2\n1\n1000000\n1\n1\n1\n0\n"), continuous_result("  1.00", "******")));
}

TEST(SampleSize, PilotOfOneOrNoValueGivesNotANumber) {
  // One value: the variance divides 0 by 0.
  std::string one = out_of("1\n1\n2\n0\n1\n3\n1\n1\n0\n");
  EXPECT_EQ(count_records(one, " Digitar dado numero            1"), 1);
  EXPECT_TRUE(has_record(one, continuous_result("  1.00", "   NaN")));
  // No value: the mean is 0/0 too, and no datum is asked for.
  std::string none = out_of("1\n1\n2\n0\n0\n2\n0.5\n0\n");
  EXPECT_EQ(none.find("Digitar dado"), std::string::npos);
  EXPECT_TRUE(has_record(none, continuous_result("  0.50", "   NaN")));
}

TEST(SampleSize, PilotSampleAtCapacity) {
  // 201 is refused; 200 values 1..200 have variance 3350 and 4 * 3350 / 10² = 134.
  std::string out = out_of("1\n1\n2\n0\n201\n200\n" + one_per_line(200) + "1\n10\n0\n");
  EXPECT_EQ(count_records(out, refusal(200)), 1);
  EXPECT_EQ(count_records(out, " ****  Quantos dados serao digitados? (N >=20)  ****"), 2);
  EXPECT_TRUE(has_record(out, " Digitar dado numero          200"));
  EXPECT_TRUE(has_record(out, continuous_result(" 10.00", "  134.")));
}

TEST(SampleSize, NullAnswerKeepsTheStartingZero) {
  // A lone comma leaves `estima` at 0: no estimate, p = 0.5.
  std::string out = out_of("1\n1\n1\n,\n0.05\n0\n");
  EXPECT_EQ(out.find("Informe o valor do p estimado"), std::string::npos);
  EXPECT_TRUE(has_record(out, " * Para um erro maximo = 0.05 /// Tamanho da amostra =     400. *"));
}

}  // namespace
}  // namespace amostra::test
