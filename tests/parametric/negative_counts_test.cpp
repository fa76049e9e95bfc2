// Negative counts typed for the pilot sample, a sample of Student's t and the
// pairs of the paired t: accepted, and nothing is read.
// Whole sessions are in the golden transcripts; here only the records that
// matter are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "parametric/result_records.hpp"
#include "support/session.hpp"

namespace amostra::test {
namespace {

TEST(NegativeCounts, AreAcceptedAndReadNothing) {
  // Pilot sample of -5: empty sums, the variance is 0 / -6, a negative zero.
  std::string pilot = out_of("1\n1\n2\n0\n-5\n1\n1\n0\n");
  EXPECT_EQ(pilot.find("Digitar dado"), std::string::npos);
  EXPECT_TRUE(has_record(pilot, continuous_result("  1.00", "   -0.")));
  // Sample A of -1: its mean is 0 / -1, a negative zero.
  std::string student = out_of("2\n1\n-1\n2\n4\n6\n0\n0\n");
  EXPECT_EQ(student.find("da amostra A"), std::string::npos);
  EXPECT_TRUE(has_record(student, " * MEDa=  -0.00  VARa=  -0.00 /// MEDb=   5.00 VARb=   2.00     *"));
  // -2 pairs: none is read, and the degrees of freedom are the pairs read less one.
  std::string paired = out_of("3\n1\n-2\n0\n");
  EXPECT_EQ(paired.find("Digitar o par"), std::string::npos);
  EXPECT_TRUE(has_record(paired, paired_record("   NaN", " -1")));
  for (const std::string* out : {&pilot, &student, &paired}) EXPECT_EQ(count_records(*out, refusal(200)), 0);
}

}  // namespace
}  // namespace amostra::test
