// Z test for proportions: the sufficiency rule, the critical value, results
// beyond their field and not-a-number.
// Whole sessions are in the golden transcripts; here only the records that
// matter are looked for.  Expected records are worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

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

TEST(ZProportions, OneSampleProductOfExactlyFiveIsEnough) {
  std::string out = z_session("1\n0.5\n0.5\n10\n");
  EXPECT_TRUE(has_record(out, z_record(" 0.00", "Aceitamos_Ho  ")));
}

TEST(ZProportions, ZAtTheCriticalValueIsAccepted) {
  // p1 = 0.637280762 against 0.5, both of 100: z rounds to the single 1.96 itself.
  EXPECT_TRUE(has_record(z_session("2\n0.637280762\n100\n0.5\n100\n"), z_record(" 1.96", "Aceitamos_Ho  ")));
  // One step up in p1: z is 1.960001, above the constant.
  EXPECT_TRUE(has_record(z_session("2\n0.637280822\n100\n0.5\n100\n"), z_record(" 1.96", "Rejeitamos_Ho ")));
}

TEST(ZProportions, LargeZPrintsAsterisks) {
  // 0.49 / sqrt(0.25 / 1000000) = 980.
  EXPECT_TRUE(has_record(z_session("1\n0.5\n0.99\n1000000\n"), z_record("*****", "Rejeitamos_Ho ")));
}

TEST(ZProportions, NotANumberIsRejected) {
  // P = 2 puts a negative number under the square root.
  EXPECT_TRUE(has_record(z_session("1\n2\n0.5\n100\n"), z_record("  NaN", "Rejeitamos_Ho ")));
}

TEST(ZProportions, ZeroSizeInTwoSamplesIsInsufficient) {
  std::string out = z_session("2\n0.5\n0\n0.5\n100\n");
  EXPECT_TRUE(has_record(out, "  *Amostra 1 é insuficente. Ampliar a amostra  e refazer o teste * "));
  EXPECT_EQ(out.find("Z = "), std::string::npos);
}

}  // namespace
}  // namespace amostra::test
