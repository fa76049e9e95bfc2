// Mann-Whitney test: ranking by value with each datum's own sample, the
// capacity shared by the two samples, and a negative size.
#include <gtest/gtest.h>

#include <string>

#include "support/session.hpp"

namespace amostra::test {
namespace {

// Mann-Whitney input: menu, sizes and data, one value a line.
std::string mann_input(const std::string& x_size, const std::string& xs, const std::string& y_size,
                       const std::string& ys) {
  return "13\n1\n" + x_size + "\n" + xs + y_size + "\n" + ys + "0\n";
}

TEST(MannWhitney, DataAreRankedByValueWithTheirOwnSample) {
  // (A zero typed for X and negative data: golden sessions mann_zero_in_x,
  // where the sign scheme would print 1.00, and mann_negative_data, 3.00.)
  // -1 and 1 are different values: X = -1, 1 and Y = 1, 3 give X the ranks
  // 1 and 2.5, R1 = 3.5, U = 0.50.  With the sign of a negated X value as the
  // mark and the magnitude as the key, the -1 typed for X would count in Y,
  // the three values of size 1 would tie at rank 2 and U would print 1.00.
  auto s = run_session(mann_input("2", "-1\n1\n", "2", "1\n3\n"));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =   0.50  ***  Ver Tabela para N =   2 e   2  **");
}

TEST(MannWhitney, SampleYGetsWhatSampleXLeavesOfTheCapacity) {
  std::string xs;
  for (int j = 0; j < 200; ++j) xs += "1\n";
  auto s = run_session(mann_input("200", xs, "1", "") + "0\n");
  // nx = 200 leaves no room: ny = 1 is refused with maximum 0, then 0 typed.
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refusal(0));
  EXPECT_EQ(count_of(s.out, "Tamanho da amostra Y"), 2);

  // A negative nx is taken as 0: ny may go up to 200.
  s = run_session("13\n1\n-5\n201\n0\n");
  EXPECT_EQ(record_with(s.out, "MAXIMO ="), refusal(200));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =  10.00  ***  Ver Tabela para N =  -5 e   0  **");
}

TEST(MannWhitney, ANegativeYSizeShortensThePooledSample) {
  // n = nx + ny = 2: only the first two pooled positions (X = 1, 2) are
  // sorted and ranked, R1 = 3; u1 = -8 + 10 - 3 = -1, u2 = -7, U = 1.
  auto s = run_session(mann_input("4", "1\n2\n3\n4\n", "-2", ""));
  EXPECT_EQ(record_with(s.out, "U ="), " **  U =   1.00  ***  Ver Tabela para N =   4 e  -2  **");
}

}  // namespace
}  // namespace amostra::test
