// Kolmogorov-Smirnov test: the Dc and Dt record of whole sessions.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra {
namespace {

using test::has_records;
using test::records;

std::string session_output(const std::string& typed) { return test::application_output(10, typed); }

const std::string kFrame = " " + std::string(50, '*') + " ";

TEST(KolmogorovSmirnov, PercentagesOverflowTheDcField) {
  // Theoretical values typed as 25, 50, 25: the cumulative theoretical values
  // reach 100 while the observed ones reach 1, so Dc is about 99.
  std::string out = session_output("3\na\nb\nc\n25\n50\n25\n10\n20\n10\n");
  EXPECT_TRUE(has_records(out, {kFrame, " *           Dc = ***** **  Dt  = 0.215            *", kFrame, ""}));
}

TEST(KolmogorovSmirnov, AboveThirtyFiveTheCriticalValueIsComputed) {
  // N = 36: Dt = 1.36 / 6 = 0.22667; Dc = |18/36 - 0.4| = 0.1 at the first class.
  std::string out = session_output("2\nx\ny\n0.4\n0.6\n18\n18\n");
  EXPECT_TRUE(has_records(out, {" *           Dc = 0.100 **  Dt  = 0.227            *"}));
}

TEST(KolmogorovSmirnov, LargestDifferenceIsTaken) {
  // Observed 0.1, 0.4, 0.5 (cumulative 0.1, 0.5, 1) against 0.3, 0.3, 0.4
  // (cumulative 0.3, 0.6, 1): differences 0.2, 0.1, 0.
  std::string out = session_output("3\np\nq\nr\n0.3\n0.3\n0.4\n1\n4\n5\n");
  EXPECT_TRUE(has_records(out, {kFrame, " *          Dc = 0.200 ** Dt (ver tabela)         *", kFrame, ""}));
}

TEST(KolmogorovSmirnov, ClassNamesAreCutAndRightAligned) {
  std::string out = session_output("1\n'Bombus terrestris'\n1\n36\n");
  EXPECT_TRUE(has_records(out, {" ** Digitar a proporcao (%) teorica da classe =      Bombus ter **"}));
  EXPECT_TRUE(has_records(out, {" *           Dc = 0.000 **  Dt  = 0.227            *"}));
}

TEST(KolmogorovSmirnov, FiftyClassesFitAndMoreAreRefused) {
  std::string typed = "51\n50\n";
  for (int j = 0; j < 50; ++j) typed += "c\n";
  for (int j = 0; j < 50; ++j) typed += "0.02\n";
  for (int j = 0; j < 50; ++j) typed += "1\n";
  std::string out = session_output(typed);
  EXPECT_TRUE(has_records(out, {" * Em quantas classes os dados estao distribuidos?*", "",
                                " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =          50", "",
                                " * Em quantas classes os dados estao distribuidos?*", "",
                                " *** Digitar o nome da classe           1 ***"}));
  EXPECT_TRUE(has_records(out, {" ** Digitar Freqência observada (Fo) da classe =           50", "", ""}));
  EXPECT_TRUE(has_records(out, {" *           Dc = 0.000 **  Dt  = 0.192            *"}));
}

}  // namespace
}  // namespace amostra
