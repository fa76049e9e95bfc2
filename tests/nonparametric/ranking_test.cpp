// The shared exchange sort and mid-rank assignment.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "nonparametric/ranking.hpp"

namespace amostra {
namespace {

std::vector<float> floats(const Real* v, int n) {
  std::vector<float> out;
  for (int i = 0; i < n; ++i) out.push_back(v[i].value());
  return out;
}

Ext magnitude(Real r) { return abs(r); }
Real itself(Real r) { return r; }

TEST(ExchangeSort, KeyedByMagnitudeKeepsInputOrderOfEqualKeys) {
  Real v[] = {Real(2.0), Real(-1.0), Real(1.0), Real(0.0), Real(-2.0), Real(-0.0)};
  exchange_sort(v, 6, magnitude);
  // -0 and 0, -1 and 1, 2 and -2 tie on the key and stay in input order.
  std::vector<float> want = {0.0f, -0.0f, -1.0f, 1.0f, 2.0f, -2.0f};
  std::vector<float> got = floats(v, 6);
  EXPECT_EQ(got, want);
  EXPECT_FALSE(std::signbit(got[0]));
  EXPECT_TRUE(std::signbit(got[1]));
}

TEST(ExchangeSort, WholeNumbersAndMarkedRecords) {
  int d[] = {7, -3, 7, 0, 2147483647, -2147483647 - 1, 2};
  exchange_sort(d, 7, [](int x) { return x; });
  EXPECT_EQ(std::vector<int>(d, d + 7), (std::vector<int>{-2147483647 - 1, -3, 0, 2, 7, 7, 2147483647}));

  // A record moves whole: its mark follows its value, equal values keep order.
  struct Marked {
    Real value;
    int mark;
  };
  Marked m[] = {{Real(3.0), 1}, {Real(1.0), 2}, {Real(3.0), 3}, {Real(-5.0), 4}};
  exchange_sort(m, 4, [](const Marked& x) { return x.value; });
  std::vector<int> marks;
  for (const Marked& x : m) marks.push_back(x.mark);
  EXPECT_EQ(marks, (std::vector<int>{4, 2, 1, 3}));
}

TEST(ExchangeSort, NothingForOneOrFewerAndNaNIsNeverExchanged) {
  Real one[] = {Real(4.0)};
  exchange_sort(one, 1, itself);
  exchange_sort(one, 0, itself);
  exchange_sort(one, -7, itself);
  EXPECT_EQ(one[0].value(), 4.0f);

  // Every comparison with a not-a-number is false, so it stays where it was
  // and splits the data into two parts sorted separately.
  const Real nan = Real::bits(std::numeric_limits<float>::quiet_NaN());
  Real v[] = {Real(3.0), Real(1.0), nan, Real(2.0), Real(0.5)};
  exchange_sort(v, 5, itself);
  EXPECT_EQ(v[0].value(), 1.0f);
  EXPECT_EQ(v[1].value(), 3.0f);
  EXPECT_TRUE(isnan(v[2]));
  EXPECT_EQ(v[3].value(), 0.5f);
  EXPECT_EQ(v[4].value(), 2.0f);
}

std::vector<float> ranked(std::vector<Real> sorted) {
  std::vector<Real> rank(sorted.size());
  for (std::size_t p = 0; p < sorted.size(); ++p) rank[p] = static_cast<int>(p + 1);
  mid_ranks(sorted.data(), rank.data(), static_cast<int>(sorted.size()));
  return floats(rank.data(), static_cast<int>(rank.size()));
}

TEST(MidRanks, RunsTakeTheAverageOfTheirPositions) {
  EXPECT_EQ(ranked({Real(1.0), Real(2.0), Real(3.0), Real(3.0), Real(5.0), Real(5.0), Real(5.0), Real(9.0)}),
            (std::vector<float>{1, 2, 3.5f, 3.5f, 6, 6, 6, 8}));
  EXPECT_EQ(ranked({Real(4.0), Real(4.0)}), (std::vector<float>{1.5f, 1.5f}));
  EXPECT_EQ(ranked({Real(4.0)}), (std::vector<float>{1}));
  EXPECT_TRUE(ranked({}).empty());
  // Exact equality only: the nearest single above 1 is not tied with 1.
  EXPECT_EQ(ranked({Real(1.0), Real::bits(std::nextafter(1.0f, 2.0f))}), (std::vector<float>{1, 2}));
  // A negative zero ties with zero.
  EXPECT_EQ(ranked({Real(-0.0), Real(0.0)}), (std::vector<float>{1.5f, 1.5f}));
}

TEST(MidRanks, AllTwoHundredEqualShareTheMiddleRank) {
  std::vector<float> r = ranked(std::vector<Real>(200, Real(2.5)));
  for (float x : r) EXPECT_EQ(x, 100.5f);
}

TEST(MidRanks, KeyedByMagnitudeTiesOppositeSigns) {
  Real v[] = {Real(1.0), Real(-1.0), Real(2.0), Real(-3.0), Real(3.0), Real(3.0)};
  Real rank[6];
  for (int p = 0; p < 6; ++p) rank[p] = p + 1;
  mid_ranks(v, rank, 6, magnitude);
  EXPECT_EQ(floats(rank, 6), (std::vector<float>{1.5f, 1.5f, 3, 5, 5, 5}));
}

}  // namespace
}  // namespace amostra
