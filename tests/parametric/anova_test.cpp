// Focused checks of the three analyses of variance: results against a plain
// double-precision computation, degrees-of-freedom identities, null answers,
// counts at and beyond the limits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/session.hpp"

namespace {

using amostra::test::run_session;
using amostra::test::count_of;

// A whole session of application `code`: the typed values, then 0 at the end prompt.
std::string typed(int code, const std::vector<std::string>& values) {
  std::string in = std::to_string(code) + "\n1\n";
  for (const auto& v : values) in += v + "\n";
  return in + "0\n";
}

// The number printed after `label` in the first record holding it.
double number_after(const std::string& out, const std::string& label) {
  std::size_t at = out.find(label);
  if (at == std::string::npos) ADD_FAILURE() << "no record with " << label;
  return at == std::string::npos ? NAN : std::stod(out.substr(at + label.size()));
}

TEST(Anova, StatisticsAgreeWithDoublePrecisionOnRandomTables) {
  std::mt19937 gen(20240611);
  std::uniform_int_distribution<int> cents(0, 9999);
  for (int round = 0; round < 20; ++round) {
    const int rows = 2 + round % 4, cols = 2 + round % 3, reps = 2 + round % 2;
    std::vector<double> x(rows * cols * reps);
    std::vector<std::string> in;
    for (double& v : x) {
      v = cents(gen) / 100.0;
      in.push_back(std::to_string(v));
    }
    // One-way: `cols` treatments of `rows` repetitions, typed repetition by repetition.
    {
      std::vector<std::string> s = {std::to_string(cols), std::to_string(rows)};
      double grand = 0, within = 0, between = 0;
      std::vector<double> tot(cols, 0);
      for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) tot[j] += x[i * cols + j], grand += x[i * cols + j];
      for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
          s.push_back(in[i * cols + j]);
          within += std::pow(x[i * cols + j] - tot[j] / rows, 2);
        }
      for (int j = 0; j < cols; ++j) between += rows * std::pow(tot[j] / rows - grand / (rows * cols), 2);
      const double f = (between / (cols - 1)) / (within / (cols * (rows - 1)));
      const std::string out = run_session(typed(4, s)).out;
      EXPECT_NEAR(number_after(out, "F ="), f, 0.006 + 1e-4 * f);
      EXPECT_NEAR(number_after(out, "Residual ="), std::sqrt(within / (cols * (rows - 1))), 0.006);
      EXPECT_NEAR(number_after(out, "Mediacol ( 1) ="), tot[0] / rows, 0.006);
    }
    // Two-way and replicated on the same cells: cell (i,j) holds x[(i*cols+j)*reps + k].
    for (int r : {1, reps}) {
      std::vector<std::string> s = {std::to_string(rows), std::to_string(cols)};
      if (r > 1) s.push_back(std::to_string(r));
      std::vector<double> row(rows, 0), col(cols, 0), cell(rows * cols, 0);
      double grand = 0, total = 0;
      for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
          for (int k = 0; k < r; ++k) {
            double v = x[(i * cols + j) * reps + k];
            s.push_back(in[(i * cols + j) * reps + k]);
            row[i] += v, col[j] += v, cell[i * cols + j] += v, grand += v, total += v * v;
          }
      const double n = rows * cols * r, c = grand * grand / n;
      double ssc = -c, ssl = -c, sscell = -c;
      for (double v : col) ssc += v * v / (rows * r);
      for (double v : row) ssl += v * v / (cols * r);
      for (double v : cell) sscell += v * v / r;
      const double ssres = r > 1 ? total - c - sscell : total - c - ssc - ssl;
      const double dfres = r > 1 ? rows * cols * (r - 1) : (rows - 1) * (cols - 1);
      const double fcol = ssc / (cols - 1) / (ssres / dfres), flin = ssl / (rows - 1) / (ssres / dfres);
      const std::string out = run_session(typed(r > 1 ? 6 : 5, s)).out;
      EXPECT_NEAR(number_after(out, "F(colunas)   ="), fcol, 0.006 + 1e-4 * fcol);
      EXPECT_NEAR(number_after(out, "F(linhas)    ="), flin, 0.006 + 1e-4 * flin);
      EXPECT_NEAR(number_after(out, "DPadrao Res. ="), std::sqrt(ssres / dfres), 0.006);
      if (r > 1) {
        const double fint = (sscell - ssc - ssl) / ((rows - 1) * (cols - 1)) / (ssres / dfres);
        EXPECT_NEAR(number_after(out, "F(lin x col) ="), fint, 0.006 + 1e-4 * fint);
      }
      EXPECT_NEAR(number_after(out, "Medialin ( 1) ="), row[0] / (cols * r), 0.006);
    }
  }
}

TEST(Anova, ResidualDegreesOfFreedomFollowTheShape) {
  for (int a : {1, 2, 5})
    for (int b : {1, 3, 4}) {
      std::vector<std::string> data(a * b * 2, "1.5");
      std::vector<std::string> one = {std::to_string(a), std::to_string(b)};
      one.insert(one.end(), data.begin(), data.begin() + a * b);
      EXPECT_EQ(number_after(run_session(typed(4, one)).out, "GLRES ="), a * (b - 1));
      EXPECT_EQ(number_after(run_session(typed(5, one)).out, "GL(residuo)  ="), (a - 1) * (b - 1));
      std::vector<std::string> rep = {std::to_string(a), std::to_string(b), "2"};
      rep.insert(rep.end(), data.begin(), data.end());
      EXPECT_EQ(number_after(run_session(typed(6, rep)).out, "GL(residuo)  ="), a * b);
    }
}

TEST(Anova, NullDatumKeepsTheStartingZero) {
  // A lone comma leaves the datum as it was: zero, whatever was typed before.
  EXPECT_EQ(run_session(typed(4, {"2", "2", "9", ",", "3", "7"})).out,
            run_session(typed(4, {"2", "2", "9", "0", "3", "7"})).out);
  EXPECT_EQ(run_session(typed(5, {"2", "2", "9", ",", "3", "7"})).out,
            run_session(typed(5, {"2", "2", "9", "0", "3", "7"})).out);
  EXPECT_EQ(run_session(typed(6, {"1", "2", "2", "9", ",", "3", "7"})).out,
            run_session(typed(6, {"1", "2", "2", "9", "0", "3", "7"})).out);
}

TEST(Anova, ReplicatedLimitIsTwentyInEachDimension) {
  const std::vector<std::vector<std::string>> shapes = {{"20", "1", "1"}, {"1", "20", "1"}, {"1", "1", "20"}};
  for (auto s : shapes) {
    for (int k = 1; k <= 20; ++k) s.push_back(std::to_string(k));
    const auto run = run_session(typed(6, s));
    EXPECT_EQ(count_of(run.out, "LIMITES"), 0);
    EXPECT_EQ(run.status, 0);
  }
  // After a refusal, null answers keep the refused counts, which are refused again.
  const auto run = run_session(typed(6, {"2", "2", "21", ",", ",", ",", "1", "1", "1", "4"}));
  EXPECT_EQ(count_of(run.out, "OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA\r\n"), 2);
  EXPECT_EQ(count_of(run.out, "*NUMERO DE TRATAMENTOS NAS LINHAS E COLUNAS,REPETICOES*"), 3);
  EXPECT_EQ(number_after(run.out, "Mediacol ( 1) ="), 4.0);
}

TEST(Anova, CountsAtTheCapacityAreAcceptedAndNegativeCountsReadNothing) {
  std::vector<std::string> wide = {"100", "100"};
  for (int i = 1; i <= 100; ++i)
    for (int j = 1; j <= 100; ++j) wide.push_back(std::to_string(j));
  const auto run = run_session(typed(4, wide));
  EXPECT_EQ(count_of(run.out, "MAXIMO"), 0);
  EXPECT_EQ(count_of(run.out, "*** Digitar repeticao"), 10000);
  EXPECT_NE(run.out.find("Mediacol (**) = 100.00\r\n"), std::string::npos);
  EXPECT_NE(run.out.find("GLCOL = 99              GLRES = ***"), std::string::npos);  // 9900 in I3

  // No data; F from empty sums; the residual deviation is the root of -0.
  const auto none = run_session(typed(4, {"-3", "5"}));
  EXPECT_EQ(count_of(none.out, "Digitar repeticao"), 0);
  EXPECT_NE(none.out.find("GLCOL = -4              GLRES = -12"), std::string::npos);
  EXPECT_NE(none.out.find("Desvio Padrao Residual = -0.00"), std::string::npos);
  EXPECT_NE(none.out.find("F =   NaN"), std::string::npos);

  // Degrees of freedom of absurd counts wrap around as 32-bit integers: 65536 * 65536 is 0.
  const auto huge = run_session(typed(5, {"-65536", "-65536"}));
  EXPECT_EQ(huge.status, 0);
  EXPECT_NE(huge.out.find("GL(residuo)  = ***\r\n"), std::string::npos);
}

TEST(Anova, NegativeCountsGiveNegativeZeroMeansAndWrappedDegreesOfFreedom) {
  // No datum is read; each mean is 0 divided by a negative count: a negative zero, printed -0.00.
  const auto one = run_session(typed(4, {"2", "-1"})).out;
  EXPECT_NE(one.find("GLCOL =  1              GLRES =  -4"), std::string::npos);
  EXPECT_NE(one.find("Desvio Padrao Residual = -0.00"), std::string::npos);
  EXPECT_EQ(count_of(one, "Mediacol ( 2) =  -0.00\r\n"), 1);
  const auto two = run_session(typed(5, {"-2", "2"})).out;
  EXPECT_NE(two.find("GL(residuo)  =  -3\r\n"), std::string::npos);
  EXPECT_EQ(count_of(two, "Mediacol ( 2) =  -0.00\r\n"), 1);
  const auto rep = run_session(typed(6, {"2", "1", "-3"})).out;
  EXPECT_NE(rep.find("DPadrao Res. =  -0.00     GL(residuo)  =  -8\r\n"), std::string::npos);
  EXPECT_EQ(count_of(rep, "Medialin ( 2) =  -0.00\r\n"), 1);

  // Degrees of freedom of the one-way analysis come from the real counts (-2147483647 is held as
  // -2^31): rnc - 1 and rnc * rnr - 1 both leave the integer range and each converts to the most
  // negative integer, so GLRES is that minus itself.
  const auto far = run_session(typed(4, {"-2147483647", "-2147483647"})).out;
  EXPECT_NE(far.find("GLCOL =***              GLRES =   0"), std::string::npos);
  // The replicated analysis counts in 32-bit integers: 65536 * 65536 wraps to 0.
  const auto wrapped = run_session(typed(6, {"-65536", "-65536", "2"})).out;
  EXPECT_NE(wrapped.find("GL(lin x col)= ***\r\n"), std::string::npos);
  EXPECT_NE(wrapped.find("GL(residuo)  =   0\r\n"), std::string::npos);
}

}  // namespace
