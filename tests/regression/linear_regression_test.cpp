// Linear and linearised regression: the fit of each model, the figures at the
// edges of the arithmetic, and the dialogue around refits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/fpenv.hpp"
#include "regression/linear_fit.hpp"
#include "support/session.hpp"

namespace amostra {
namespace {

using test::run_session;

struct Data {
  Column xx, yy, x, y;
  int n = 0;
  void add(double xv, double yv) {
    ++n;
    xx(n) = Real(xv);
    yy(n) = Real(yv);
  }
  LinearFit fit(int icod) { return fit_linear(icod, n, xx, yy, x, y); }
};

Data pairs(std::initializer_list<std::pair<double, double>> list) {
  Data d;
  for (auto [xv, yv] : list) d.add(xv, yv);
  return d;
}

class LinearFitting : public testing::Test {
 protected:
  void SetUp() override { establish_arithmetic(); }
};

// The exponential and power fits are straight lines through the logarithms:
// only a is brought back (as e^a), r and b stay those of the transformed data,
// and the residuals are measured on Y itself.
TEST_F(LinearFitting, ExponentialAndPowerReportEToTheIntercept) {
  Data d = pairs({{1, 2.5}, {2, 3.9}, {3, 7.1}, {5, 20.2}, {8, 98.0}});
  for (int icod : {4, 5}) {
    Data logs = d;
    for (int j = 1; j <= d.n; ++j) {
      if (icod == 5) logs.xx(j) = ln(d.xx(j));
      logs.yy(j) = ln(d.yy(j));
    }
    LinearFit f = d.fit(icod), g = logs.fit(1);
    EXPECT_EQ(f.r.value(), g.r.value()) << icod;
    EXPECT_EQ(f.b.value(), g.b.value()) << icod;
    EXPECT_EQ(f.a.value(), exp(g.a).value()) << icod;
    EXPECT_NE(f.somer.value(), g.somer.value()) << icod;
  }
}

// Degenerate data follow IEEE arithmetic rather than stopping the program.
TEST_F(LinearFitting, DegenerateDataGiveInfinitiesAndNotANumber) {
  LinearFit f = pairs({{1, 3}, {2, 3}, {3, 3}}).fit(1);  // all Y equal
  EXPECT_TRUE(std::isnan(f.r.value()));
  EXPECT_EQ(f.b.value(), 0.0f);
  f = pairs({{2, 1}, {2, 5}, {2, 6}}).fit(1);  // all X equal
  EXPECT_TRUE(std::isnan(f.r.value()));
  EXPECT_TRUE(std::isnan(f.b.value()));
  Data zero_x = pairs({{0, 1}, {1, 2}, {2, 4}});  // 1/0 and ln 0 spoil models 2, 3 and 5 only
  for (int code : {2, 3, 5}) EXPECT_FALSE(std::isfinite(zero_x.fit(code).b.value())) << code;
  EXPECT_TRUE(std::isfinite(zero_x.fit(4).b.value()));
}

// Least squares in double precision, written independently of the program's
// sums: the fit of `ty` on `tx` by centred sums.
struct Reference {
  double r, a, b;
};
Reference least_squares(const std::vector<double>& tx, const std::vector<double>& ty) {
  const std::size_t n = tx.size();
  double mx = 0, my = 0;
  for (std::size_t j = 0; j < n; ++j) {
    mx += tx[j] / n;
    my += ty[j] / n;
  }
  double sxx = 0, syy = 0, sxy = 0;
  for (std::size_t j = 0; j < n; ++j) {
    sxx += (tx[j] - mx) * (tx[j] - mx);
    syy += (ty[j] - my) * (ty[j] - my);
    sxy += (tx[j] - mx) * (ty[j] - my);
  }
  double b = sxy / sxx;
  return {sxy / std::sqrt(sxx * syy), my - b * mx, b};
}

// Every model against the double-precision reference on random data, to the
// two decimals the result box shows.
TEST_F(LinearFitting, AgreesWithDoublePrecisionLeastSquares) {
  std::mt19937 gen(20240611);
  std::uniform_real_distribution<double> ux(0.5, 20.0), noise(-0.3, 0.3);
  for (int trial = 0; trial < 200; ++trial) {
    const int icod = 1 + trial % 5;
    Data d;
    const int n = 5 + trial % 40;
    for (int j = 0; j < n; ++j) {
      double xv = ux(gen);
      double truth[] = {3 + 0.7 * xv, 2 + 9 / xv, 1 + 2.5 * std::log(xv), 1.5 * std::exp(0.08 * xv),
                        0.8 * std::pow(xv, 1.3)};
      d.add(xv, truth[icod - 1] * (1 + noise(gen) / 10));
    }
    std::vector<double> tx, ty, xs, ys;
    for (int j = 1; j <= n; ++j) {
      double xv = d.xx(j).value(), yv = d.yy(j).value();
      xs.push_back(xv);
      ys.push_back(yv);
      tx.push_back(icod == 2 ? 1 / xv : (icod == 3 || icod == 5) ? std::log(xv) : xv);
      ty.push_back(icod >= 4 ? std::log(yv) : yv);
    }
    Reference ref = least_squares(tx, ty);
    double a = icod >= 4 ? std::exp(ref.a) : ref.a;
    double somer = 0;
    for (int j = 0; j < n; ++j) {
      double est[] = {a + ref.b * xs[j], a + ref.b / xs[j], a + ref.b * std::log(xs[j]),
                      a * std::exp(ref.b * xs[j]), a * std::pow(xs[j], ref.b)};
      somer += (ys[j] - est[icod - 1]) * (ys[j] - est[icod - 1]);
    }
    LinearFit f = fit_linear(icod, d.n, d.xx, d.yy, d.x, d.y);
    SCOPED_TRACE("model " + std::to_string(icod) + ", " + std::to_string(n) + " pairs");
    EXPECT_NEAR(f.r.value(), ref.r, 5e-3);
    EXPECT_NEAR(f.r2.value(), ref.r * ref.r, 5e-3);
    EXPECT_NEAR(f.a.value(), a, 5e-3 * std::max(1.0, std::fabs(a)));
    EXPECT_NEAR(f.b.value(), ref.b, 5e-3 * std::max(1.0, std::fabs(ref.b)));
    double erro = std::sqrt(somer / (n - 2));
    EXPECT_NEAR(f.erro.value(), erro, 5e-3 * std::max(1.0, erro));
  }
}

// ---- the dialogue ----

std::string session_input(const std::string& pairs_and_fits) { return "7\n1\n" + pairs_and_fits; }

// Every record between the result box title and the question that follows it.
std::vector<std::string> result_boxes(const std::string& out) {
  std::vector<std::string> boxes;
  const std::string stars = " " + std::string(55, '*') + "\r\n";
  std::size_t at = 0;
  for (;;) {
    std::size_t title = out.find("         Modelo: ", at);
    if (title == std::string::npos) return boxes;
    std::size_t end = out.find(stars, out.find(stars, title) + stars.size());
    boxes.push_back(out.substr(title - 1, end + stars.size() - (title - 1)));
    at = end;
  }
}

TEST(LinearRegressionSession, RefitsAfterOtherModelsRepeatTheFigures) {
  auto s = run_session(session_input("4\n1 1.5\n2 2.25\n4 7\n7 8.5\n2\n3\n5\n-1\n2\n0\n0\n"));
  ASSERT_EQ(s.status, 0) << s.err;
  auto boxes = result_boxes(s.out);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], boxes[2]);
  EXPECT_NE(boxes[0], boxes[1]);
}

TEST(LinearRegressionSession, OutsideCodesShowTheStraightLineTitle) {
  for (const char* code : {"0", "6", "-1", "2147483647"}) {
    auto s = run_session(session_input("3\n1 2\n2 4\n3 6\n" + std::string(code) + "\n0\n0\n"));
    ASSERT_EQ(s.status, 0) << code << s.err;
    auto boxes = result_boxes(s.out);
    ASSERT_EQ(boxes.size(), 1u) << code;
    EXPECT_EQ(boxes[0].substr(0, 43), "          Modelo: Linha reta             \r\n") << code;
    EXPECT_NE(boxes[0].find("a =   0.00   b =   2.00 *"), std::string::npos) << code;
  }
}

TEST(LinearRegressionSession, NoPairsGiveNotANumberAndANegativeZeroError) {
  for (const char* n : {"0", "-4"}) {
    auto s = run_session(session_input(std::string(n) + "\n1\n0\n0\n"));
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out.find("Digitar, nesta ordem"), std::string::npos);
    EXPECT_NE(s.out.find(test::records({" *  Coeficientes da Regressao: a =    NaN   b =    NaN *",
                                        " *  Erro padrão das estimativas igual a   -0.00        *"})),
              std::string::npos)
        << n;
  }
}

TEST(LinearRegressionSession, TwoHundredPairsAcceptedAndTwoHundredOneRefused) {
  std::string pairs;
  for (int j = 1; j <= 200; ++j) pairs += std::to_string(j) + " " + std::to_string(3 * j + 1) + "\n";
  auto s = run_session(session_input("201\n200\n" + pairs + "1\n1\n4\n1\n1\n0\n0\n"));
  ASSERT_EQ(s.status, 0) << s.err;
  const std::string refusal =
      test::records({"", " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =         200", ""});
  std::size_t first = s.out.find(refusal);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(s.out.find(refusal, first + 1), std::string::npos);
  EXPECT_NE(s.out.find(" Digitar, nesta ordem,  X e Y do par numero 200\r\n"), std::string::npos);
  auto boxes = result_boxes(s.out);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], boxes[2]);
  EXPECT_NE(boxes[0].find("a =   1.00   b =   3.00 *"), std::string::npos);
}

// A null answer (a lone comma) keeps the previous answer: nothing at first,
// so the application ends; after a 1 it fits again.
TEST(LinearRegressionSession, NullAnswerKeepsThePreviousAnswer) {
  auto once = run_session(session_input("2\n1 1\n2 2\n1\n,\n0\n"));
  ASSERT_EQ(once.status, 0) << once.err;
  EXPECT_EQ(result_boxes(once.out).size(), 1u);
  auto again = run_session(session_input("2\n1 1\n2 2\n1\n1\n1\n,\n1\n0\n0\n"));
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(result_boxes(again.out).size(), 3u);
}

}  // namespace
}  // namespace amostra
