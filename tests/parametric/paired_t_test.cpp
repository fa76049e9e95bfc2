// Paired t: the sign of t, infinite and undefined t, two hundred pairs.
// Whole sessions are in the golden transcripts; here only the records that
// matter are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "parametric/result_records.hpp"
#include "support/session.hpp"

namespace amostra::test {
namespace {

TEST(PairedT, SwappingTheMembersChangesOnlyTheSign) {
  EXPECT_TRUE(has_record(out_of("3\n1\n4\n8 10\n9 12\n8 9\n7 11\n0\n"), paired_record(" -3.87", "  3")));
}

TEST(PairedT, IdenticalDifferencesGiveAnInfiniteT) {
  EXPECT_TRUE(has_record(out_of("3\n1\n3\n3 1\n5 3\n4 2\n0\n"), paired_record("  +Inf", "  2")));
}

TEST(PairedT, OnePairDividesZeroByZero) {
  EXPECT_TRUE(has_record(out_of("3\n1\n1\n5 2\n0\n"), paired_record("   NaN", "  0")));
}

TEST(PairedT, TwoHundredPairsAtCapacity) {
  // Differences 1..200: mean 100.5, variance 3350, t = 100.5 / (57.879 / 14.142) = 24.56.
  std::string pairs;
  for (int j = 1; j <= 200; ++j) pairs += std::to_string(j) + " 0\n";
  std::string out = out_of("3\n1\n250\n200\n" + pairs + "0\n");
  EXPECT_EQ(count_records(out, refusal(200)), 1);
  EXPECT_EQ(count_records(out, " ***** Quandos pares serão digitados?  *****"), 2);
  EXPECT_TRUE(has_record(out, " Digitar o par (Xa e Xd) numero 200"));
  EXPECT_TRUE(has_record(out, paired_record(" 24.56", "199")));
}

}  // namespace
}  // namespace amostra::test
