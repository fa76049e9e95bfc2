// Curvilinear regression: the determinant rule, the sums, the four fits and
// the dialogue around refits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/fpenv.hpp"
#include "regression/curve_fit.hpp"
#include "support/session.hpp"

namespace amostra {
namespace {

using test::run_session;

struct Data {
  Column xx, yy, y;
  int n = 0;
  void add(double xv, double yv) {
    ++n;
    xx(n) = Real(xv);
    yy(n) = Real(yv);
  }
  CurveSums sums() const { return curve_sums(n, xx, yy); }
  CurveFit fit(int k) { return fit_curve(k, n, sums(), n, xx, yy, y); }
};

Data pairs(std::initializer_list<std::pair<double, double>> list) {
  Data d;
  for (auto [xv, yv] : list) d.add(xv, yv);
  return d;
}

class CurveFitting : public testing::Test {
 protected:
  void SetUp() override { establish_arithmetic(); }
};

Matrix3 matrix(double a11, double a12, double a13, double a21, double a22, double a23, double a31, double a32,
               double a33) {
  return {Real(a11), Real(a12), Real(a13), Real(a21), Real(a22), Real(a23), Real(a31), Real(a32), Real(a33)};
}

// 4097·4097 = 16785409 lies halfway between two singles and is stored as
// 16785408, the value of the other partial sum: the determinant is 0, not 1.
TEST_F(CurveFitting, SarrusRoundsBothPartialSumsBeforeSubtracting) {
  EXPECT_EQ(sarrus(matrix(4097, 4098, 0, 4096, 4097, 0, 0, 0, 1)).value(), 0.0f);
  EXPECT_EQ(sarrus(matrix(1, 0, 0, 0, 4097, 4098, 0, 4096, 4097)).value(), 0.0f);
}

// The cube is stored before it is added: after the cube of 1, 257³ =
// 16974593 enters as 16974592 and the sum stays 16974592 (16974594 if the
// cube went in unrounded).  4097² = 16785409 is
// stored as 16785408 before it multiplies ln y.
TEST_F(CurveFitting, PowerTermsAreRoundedBeforeTheyAreAdded) {
  EXPECT_EQ(pairs({{1, 1}, {257, 1}}).sums().sx3.value(), 16974592.0f);
  const Real sx2logy = pairs({{4097, 5}}).sums().sx2logy;
  EXPECT_EQ(sx2logy.value(), Real(ln(Real(5.0)) * Real(16785408.0)).value());
  EXPECT_NE(sx2logy.value(), Real(ln(Real(5.0)) * (Ext(4097) * 4097)).value());
}

// A zero X spoils only the sums of 1/x and ln x; a Y of zero only those of
// ln y.  Curves that do not use them still give finite results.
TEST_F(CurveFitting, DegenerateDataSpoilOnlyTheCurvesThatUseThem) {
  Data zero_x = pairs({{0, 3}, {1, 4}, {2, 7}, {3, 12}, {4, 19}});
  Data zero_y = pairs({{1, 0}, {2, 1}, {3, 4}, {4, 9}, {5, 16}});
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(std::isfinite(zero_x.fit(k).ep.value()), k == 1 || k == 4) << k;
    EXPECT_EQ(std::isfinite(zero_y.fit(k).ep.value()), k == 1 || k == 2) << k;
  }
  CurveFit f = pairs({{2, 1}, {2, 2}, {2, 3}, {2, 4}}).fit(1);  // all X equal: a zero determinant
  EXPECT_EQ(f.det.value(), 0.0f);
  EXPECT_FALSE(std::isfinite(f.a.value()));
  f = pairs({{1, 2}, {2, 4}, {3, 6}, {4, 8}}).fit(1);  // a straight line: c = 0, the vertex at infinity
  EXPECT_EQ(f.c.value(), 0.0f);
  EXPECT_TRUE(std::isinf(f.bm.value()));
}

// Least squares in double precision by Gaussian elimination with pivoting on
// the normal equations: an independent check of each curve's parameters.
std::vector<double> solve3(std::vector<std::vector<double>> m, std::vector<double> r) {
  for (int c = 0; c < 3; ++c) {
    int p = c;
    for (int i = c + 1; i < 3; ++i)
      if (std::fabs(m[i][c]) > std::fabs(m[p][c])) p = i;
    std::swap(m[c], m[p]);
    std::swap(r[c], r[p]);
    for (int i = c + 1; i < 3; ++i) {
      double f = m[i][c] / m[c][c];
      for (int k = c; k < 3; ++k) m[i][k] -= f * m[c][k];
      r[i] -= f * r[c];
    }
  }
  std::vector<double> s(3);
  for (int i = 2; i >= 0; --i) {
    double v = r[i];
    for (int k = i + 1; k < 3; ++k) v -= m[i][k] * s[k];
    s[i] = v / m[i][i];
  }
  return s;
}

// Parameters A, B, C of curve k fitted in double precision.
std::vector<double> reference_fit(int k, const std::vector<double>& xs, const std::vector<double>& ys) {
  std::vector<std::vector<double>> m(3, std::vector<double>(3, 0.0));
  std::vector<double> r(3, 0.0);
  for (std::size_t j = 0; j < xs.size(); ++j) {
    double x = xs[j];
    double basis[4][3] = {{1, x, x * x}, {1, 1 / x, x}, {1, std::log(x), x}, {1, x, x * x}};
    double target = k >= 3 ? std::log(ys[j]) : ys[j];
    for (int p = 0; p < 3; ++p) {
      r[p] += basis[k - 1][p] * target;
      for (int q = 0; q < 3; ++q) m[p][q] += basis[k - 1][p] * basis[k - 1][q];
    }
  }
  std::vector<double> c = solve3(m, r);
  switch (k) {
    case 1: return {c[0] - c[1] * c[1] / (4 * c[2]), -c[1] / (2 * c[2]), c[2]};
    case 2: return c;
    case 3: return {std::exp(c[0]), c[1], std::exp(c[2])};
    default: return {std::exp(c[0] - c[1] * c[1] / (4 * c[2])), std::exp(c[2]), -c[1] / (2 * c[2])};
  }
}

TEST_F(CurveFitting, AgreesWithDoublePrecisionLeastSquares) {
  std::mt19937 gen(16);
  std::uniform_real_distribution<double> noise(-0.02, 0.02);
  for (int trial = 0; trial < 160; ++trial) {
    const int k = 1 + trial % 4;
    const int n = 6 + trial % 25;
    Data d;
    std::vector<double> xs, ys;
    for (int j = 1; j <= n; ++j) {
      double x = 0.5 + 4.5 * (j - 1) / (n - 1) + noise(gen);
      double truth[] = {2 + 3 * (x - 2.5) * (x - 2.5), 1 + 2 / x + 3 * x, 2 * std::pow(x, 0.5) * std::pow(1.1, x),
                        5 * std::pow(0.8, (x - 3) * (x - 3))};
      d.add(x, truth[k - 1] * (1 + noise(gen)));
      xs.push_back(d.xx(j).value());
      ys.push_back(d.yy(j).value());
    }
    std::vector<double> want = reference_fit(k, xs, ys);
    CurveFit f = d.fit(k);
    SCOPED_TRACE("model " + std::to_string(k) + ", " + std::to_string(n) + " pairs");
    EXPECT_NEAR(f.am.value(), want[0], 0.01 * std::max(1.0, std::fabs(want[0])));
    EXPECT_NEAR(f.bm.value(), want[1], 0.01 * std::max(1.0, std::fabs(want[1])));
    EXPECT_NEAR(f.cm.value(), want[2], 0.01 * std::max(1.0, std::fabs(want[2])));
  }
}

// ---- the dialogue ----

// The result box that holds `title`, from its title to the question after it.
std::string box_at(const std::string& out, std::size_t title) {
  return out.substr(title, out.find("Quer ajustar", title) - title);
}

TEST(CurvilinearSession, TwoHundredPairsFittedFourTimesThenRefitted) {
  std::string pairs;
  for (int j = 1; j <= 200; ++j) {
    double x = 0.5 + j * 0.025;
    pairs += std::to_string(x) + " " + std::to_string(2 + 3 * (x - 2.5) * (x - 2.5)) + "\n";
  }
  auto s = run_session("16\n1\n201\n200\n" + pairs + "1\n1\n2\n1\n3\n1\n4\n1\n1\n0\n0\n");
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_NE(s.out.find(" Digitar X e Y, nesta ordem, do par numero          200  ***\r\n"), std::string::npos);
  std::size_t first = s.out.find("CURVAS D0 MODELO 1");
  std::size_t last = s.out.rfind("CURVAS D0 MODELO 1");
  ASSERT_NE(first, last);
  EXPECT_EQ(box_at(s.out, first), box_at(s.out, last));
  EXPECT_NE(s.out.find(" *  A =       2.00  B =       2.50  C =       3.00  *\r\n"), std::string::npos);
  for (const char* title : {"CURVAS DO MODELO 2", "CURVAS DO MODELO 3", "CURVAS DO MODELO 4"})
    EXPECT_NE(s.out.find(title), std::string::npos) << title;
}

}  // namespace
}  // namespace amostra
