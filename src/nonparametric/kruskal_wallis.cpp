// The Kruskal-Wallis test: treatments with the same number of repetitions are
// compared by the ranks of all their values pooled together (ties averaged,
// H not corrected for them).
#include <algorithm>

#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "core/int32.hpp"
#include "nonparametric/ranking.hpp"

namespace amostra {
namespace {

constexpr int kTreatments = 20;   // columns of the data table
constexpr int kRepetitions = 100;  // rows of the data table
constexpr int kValues = 200;       // values in all
constexpr const char* kStars52 = "****************************************************";

Real value_of(Real v) { return v; }

}  // namespace

Ending kruskal_wallis(Console& c, const Tables&) {
  int nc = 0;
  int nl = 0;

  c.list({kStars52});
  c.list({"***********  Teste de KRUSKAL & WALLIS  ************"});
  c.list({kStars52});
  c.blank();

  read_count(c, nc, kTreatments, [&] { c.list({"********  Quantos tratamentos nas colunas?  *******"}); });
  c.blank();

  // The repetitions must fit both the rows of the table and, with the
  // treatments, the 200 pooled values.  Without treatments no value is read.
  const int max_nl = nc > 0 ? std::min(kRepetitions, kValues / nc) : kRepetitions;
  read_count(c, nl, max_nl, [&] { c.list({"******    Quantas repeticoes nas linhas?     *******"}); });
  const int n = wrap_mul(nc, nl);
  c.blank();

  // Data, row by row: every treatment of a repetition, then the next one.
  Real dados[kRepetitions][kTreatments];
  for (int i = 1; i <= nl; ++i)
    for (int j = 1; j <= nc; ++j) {
      c.write("(1x, \"Digitar dado da linha \",I3, \" coluna \", I2)", {i, j});
      c.read(dados[i - 1][j - 1]);
    }

  // Pool the values treatment by treatment.
  Real dadoxe[kValues];
  int m = 0;
  for (int j = 1; j <= nc; ++j)
    for (int i = 1; i <= nl; ++i) dadoxe[m++] = dados[i - 1][j - 1];
  // Only the pooled values are ranked.  n differs from their count only when
  // a count is zero or below, and then no datum takes a rank.
  const int pooled = m;

  exchange_sort(dadoxe, pooled, value_of);

  // Ranks by position; ties share the average of their positions.
  Real pstt[kValues];
  for (int j = 1; j <= pooled; ++j) pstt[j - 1] = j;
  mid_ranks(dadoxe, pstt, pooled);

  // Rank of each datum: that of the first sorted position holding its value.
  Real postoxe[kRepetitions][kTreatments];
  for (int j = 0; j < nc; ++j)
    for (int i = 0; i < nl; ++i)
      for (int k = 0; k < pooled; ++k)
        if (dadoxe[k] == dados[i][j]) {
          postoxe[i][j] = pstt[k];
          break;
        }

  // Rank sum of each treatment.
  Real rr[kTreatments];
  for (int j = 0; j < nc; ++j) {
    rr[j] = 0;
    for (int i = 0; i < nl; ++i) rr[j] = rr[j] + postoxe[i][j];
  }

  Real soma = 0;
  const Real rnl = nl;
  const Real rn = n;
  for (int j = 0; j < nc; ++j) soma = soma + (rr[j] * rr[j]) / rnl;

  const Real h = (12 / ((rn + 1) * rn)) * soma + (rn + 1) * -3;
  const int gl = wrap_sub(nc, 1);

  c.list({kStars52});
  c.write("(1x,\"***\",1x,\" H = \", F7.2, \" ***\",\"  Graus de liberdade = \",I2 ,4x, \"***\")", {h, gl});
  c.list({kStars52});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
