// Scaling of typed measurements to whole numbers for the runs test: the
// nearest integer, halves, the decimal factors and the integer range.
#include <gtest/gtest.h>

#include <climits>

#include "nonparametric/runs_scaling.hpp"

namespace amostra {
namespace {

TEST(RunsScaling, NearestIntegerKeepsTypedDecimalsApart) {
  // 2.57 and 2.51 are held just below their typed values: truncation would
  // give 256 and 250 (the latter merging with 2.50); the nearest integer does not.
  EXPECT_EQ(trunc_int(Real(2.57) * 100), 256);
  EXPECT_EQ(scale_to_nearest(Real(2.57), 100), 257);
  EXPECT_EQ(scale_to_nearest(Real(2.51), 100), 251);
  EXPECT_EQ(scale_to_nearest(Real(2.50), 100), 250);
  EXPECT_EQ(scale_to_nearest(Real(1.1), 100), 110);
  EXPECT_EQ(scale_to_nearest(Real(-2.57), 100), -257);
}

TEST(RunsScaling, HalvesGoAwayFromZero) {
  EXPECT_EQ(scale_to_nearest(Real(2.5), 1), 3);
  EXPECT_EQ(scale_to_nearest(Real(-2.5), 1), -3);
  EXPECT_EQ(scale_to_nearest(Real(0.125), 100), 13);  // 0.125 is exact: 12.5
  EXPECT_EQ(scale_to_nearest(Real(-0.125), 100), -13);
  EXPECT_EQ(scale_to_nearest(Real(0.49), 1), 0);
}

TEST(RunsScaling, FactorsAndTheIntegerRange) {
  EXPECT_EQ(decimal_factor(0), 1);
  EXPECT_EQ(decimal_factor(2), 100);
  EXPECT_EQ(decimal_factor(kRunsMaxDecimals), 1000000000);
  EXPECT_EQ(decimal_factor(-1), 0);
  EXPECT_EQ(scale_to_nearest(Real(1.5), 1000000000), 1500000000);
  // Beyond the 32-bit range the conversion gives the most negative integer.
  EXPECT_EQ(scale_to_nearest(Real(3.0), 1000000000), INT_MIN);
  EXPECT_EQ(scale_to_nearest(Real(-3.0), 1000000000), INT_MIN);
}

}  // namespace
}  // namespace amostra
