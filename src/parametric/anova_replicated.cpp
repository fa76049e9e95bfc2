// Two-way analysis of variance with replication: `inr` repetitions in each
// cell of an `inl` x `inc` table.  Rows, columns and their interaction are
// each tested against the within-cell variance.
#include <array>
#include <memory>

#include "menu/apps.hpp"
#include "parametric/anova_common.hpp"

namespace amostra {

using anova::kStars55;

namespace {

// The table holds 20 rows, 20 columns and 20 repetitions per cell.
constexpr int kLimit = 20;

// Indexed 1..20 in each dimension, every element starting at 0.
using Cells = std::array<std::array<Real, kLimit + 1>, kLimit + 1>;
using Repetitions = std::array<Cells, kLimit + 1>;

}  // namespace

Ending anova_replicated(Console& c, const Tables&) {
  int inl = 0;
  int inc = 0;
  int inr = 0;
  Real rnl = 0;
  Real rnc = 0;
  Real rnr = 0;
  const auto table = std::make_unique<Repetitions>();  // 8000 cells: kept off the stack
  Repetitions& dadox2 = *table;
  Cells somacel{};
  anova::Vector<100> somal{};
  anova::Vector<100> medialin{};
  anova::Vector<100> somac{};
  anova::Vector<100> mediacol{};

  // Banner and sizes; a table beyond the limits starts again here.
  for (;;) {
    c.list({kStars55});
    c.list({"*NUMERO DE TRATAMENTOS NAS LINHAS E COLUNAS,REPETICOES*"});
    c.list({kStars55});
    c.blank();
    c.list({"NUMERO DE TRATAMENTOS NAS LINHAS"});
    c.read(inl);
    rnl = inl;
    c.list({"NUMERO DE TRATAMENTOS NAS COLUNAS"});
    c.read(inc);
    rnc = inc;
    c.list({"NUMERO DE REPETICOES DENTRO DAS CELULAS"});
    c.read(inr);
    rnr = inr;
    // The repetitions are held to the same limit as the rows and columns.
    if (inl <= kLimit && inc <= kLimit && inr <= kLimit) break;
    c.blank();
    c.list({"OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA"});
    c.blank();
  }

  Real somax = 0;
  Real somax2 = 0;
  for (int i = 1; i <= inl; ++i) somal[i] = 0;
  for (int j = 1; j <= inc; ++j) somac[j] = 0;
  c.blank();
  c.list({kStars55});
  c.list({"*         DIGITAR OS VALORES A SEREM ANALISADOS       *"});
  c.list({kStars55});

  // Data, cell by cell and row by row.
  for (int i = 1; i <= inl; ++i) {
    for (int j = 1; j <= inc; ++j) {
      for (int k = 1; k <= inr; ++k) {
        c.blank();
        c.write("(1x,\"Linha =\",i2,3x,\"Coluna =\",i2,3x,\"Repeticao =\", i2)", {i, j, k});
        Real& x = dadox2[i][j][k];
        c.read(x);
        somax += x;
        somax2 += x * x;
      }
    }
    c.blank();
    c.write("(1x, \"*** Final da linha \", I2,\" ***\")", {i});
  }
  c.blank();

  const Real fc = (somax * somax) / (rnc * rnl * rnr);
  const Real sqdtot = somax2 - fc;

  // Cell totals.
  for (int i = 1; i <= inl; ++i)
    for (int j = 1; j <= inc; ++j) somacel[i][j] = 0;
  for (int i = 1; i <= inl; ++i)
    for (int j = 1; j <= inc; ++j)
      for (int k = 1; k <= inr; ++k) somacel[i][j] += dadox2[i][j][k];

  // Column totals and means.
  for (int j = 1; j <= inc; ++j)
    for (int i = 1; i <= inl; ++i)
      for (int k = 1; k <= inr; ++k) somac[j] += dadox2[i][j][k];
  for (int j = 1; j <= inc; ++j) mediacol[j] = somac[j] / (rnl * rnr);

  // Row totals and means.
  for (int i = 1; i <= inl; ++i)
    for (int j = 1; j <= inc; ++j)
      for (int k = 1; k <= inr; ++k) somal[i] += dadox2[i][j][k];
  for (int i = 1; i <= inl; ++i) medialin[i] = somal[i] / (rnc * rnr);

  // Sums of the squared totals: columns, rows, cells.
  Real somacol2 = 0;
  Real somalin2 = 0;
  Real somalxc2 = 0;
  for (int j = 1; j <= inc; ++j) somacol2 += somac[j] * somac[j];
  for (int i = 1; i <= inl; ++i) somalin2 += somal[i] * somal[i];
  for (int i = 1; i <= inl; ++i)
    for (int j = 1; j <= inc; ++j) somalxc2 += somacel[i][j] * somacel[i][j];

  // Sums of squares.
  const Real sqdcol = somacol2 / (rnl * rnr) - fc;
  const Real sqdlin = somalin2 / (rnc * rnr) - fc;
  const Real sqdlxc = ((somalxc2 / rnr - fc) - sqdcol) - sqdlin;
  const Real sqdres = ((sqdtot - sqdcol) - sqdlin) - sqdlxc;

  // Degrees of freedom, in integer arithmetic, then as reals.
  const int gltot = wrap_sub(wrap_mul(inr, wrap_mul(inl, inc)), 1);
  const int glcol = wrap_sub(inc, 1);
  const int gllin = wrap_sub(inl, 1);
  const int gllxc = wrap_mul(gllin, glcol);
  const int glres = wrap_sub(wrap_sub(wrap_sub(gltot, glcol), gllin), gllxc);
  const Real rglcol = glcol;
  const Real rgllin = gllin;
  const Real rgllxc = gllxc;
  const Real rglres = glres;

  const Real varcol = sqdcol / rglcol;
  const Real varlin = sqdlin / rgllin;
  const Real varlxc = sqdlxc / rgllxc;
  const Real varres = sqdres / rglres;
  const Real dpres = sqrt(varres);

  c.blank();
  const Real fcol = varcol / varres;
  const Real flin = varlin / varres;
  const Real fint = varlxc / varres;

  anova::write_analysis_title(c);
  anova::write_columns_line(c, fcol, glcol);
  anova::write_rows_line(c, flin, gllin);
  c.write("(1x, \"F(lin x col) = \",f6.2, 5x, \"GL(lin x col)= \", I3)", {fint, gllxc});
  anova::write_residual_line(c, dpres, glres);
  c.blank();
  c.list({kStars55});
  anova::write_means(c, mediacol, inc, medialin, inl);
  return Ending::Prompt;
}

}  // namespace amostra
