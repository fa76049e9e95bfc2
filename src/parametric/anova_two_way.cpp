// Two-way analysis of variance without replication: one observation in each
// cell of an `inl` x `inc` table.  Prints the F of the columns and of the
// rows, the residual standard deviation and every column and row mean.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "parametric/anova_common.hpp"

namespace amostra {

using anova::kStars55;
using anova::kStars56;

Ending anova_two_way(Console& c, const Tables&) {
  // The banner announces 20 x 20; the working arrays hold 100 x 100.
  constexpr int kRows = 100;
  constexpr int kColumns = 100;

  int inl = 0;
  int inc = 0;
  anova::Table dadox(100, 200);
  anova::Vector<kRows> somalin{};
  anova::Vector<kRows> medialin{};
  anova::Vector<kColumns> somacol{};
  anova::Vector<kColumns> mediacol{};

  c.list({kStars56});
  c.list({"*       ANOVA 2 CRITERIOS DE CLASSIFICACAO             *"});
  c.list({"*        Limites: 20 linhas // 20 colunas              *"});
  c.list({kStars56});
  c.blank();

  read_count(c, inl, kRows, [&] { c.list({" *** Numero de linhas da tabela de entrada ***"}); });
  c.blank();
  read_count(c, inc, kColumns, [&] { c.list({" *** Numero de colunas da tabela de entrada ***"}); });
  c.blank();

  const Real rnc = inc;
  const Real rnl = inl;
  Real somatot = 0;
  Real soma2tot = 0;
  Real soma2col = 0;
  Real soma2lin = 0;

  // Data, row by row; each finished row is confirmed.
  for (int i = 1; i <= inl; ++i) {
    for (int j = 1; j <= inc; ++j) {
      c.write("(1X, \"VALOR DA LINHA =\", I2, 5X, \"COLUNA =\", I2)", {i, j});
      c.read(dadox(i, j));
      c.blank();
    }
    c.write("(1x, 5(\"*\"), \" Conclusao da Linha \", i2,1x, 5(\"*\"))", {i});
    c.blank();
  }
  c.blank();

  // Row totals and means.
  for (int i = 1; i <= inl; ++i) somalin[i] = 0;
  for (int i = 1; i <= inl; ++i)
    for (int j = 1; j <= inc; ++j) somalin[i] += dadox(i, j);
  for (int i = 1; i <= inl; ++i) medialin[i] = somalin[i] / rnc;

  // Column totals and means.
  for (int j = 1; j <= inc; ++j) somacol[j] = 0;
  for (int j = 1; j <= inc; ++j)
    for (int i = 1; i <= inl; ++i) somacol[j] += dadox(i, j);
  for (int j = 1; j <= inc; ++j) mediacol[j] = somacol[j] / rnl;

  // Grand sums, row by row.
  for (int i = 1; i <= inl; ++i) {
    for (int j = 1; j <= inc; ++j) {
      somatot += dadox(i, j);
      soma2tot += dadox(i, j) * dadox(i, j);
    }
  }

  // Sums of squares.
  const Real fc = (somatot * somatot) / (rnc * rnl);
  const Real sqdtot = soma2tot - fc;
  for (int j = 1; j <= inc; ++j) soma2col += (somacol[j] * somacol[j]) / rnl;
  const Real sqdcol = soma2col - fc;
  for (int i = 1; i <= inl; ++i) soma2lin += (somalin[i] * somalin[i]) / rnc;
  const Real sqdlin = soma2lin - fc;
  const Real sqdres = (sqdtot - sqdcol) - sqdlin;

  // Degrees of freedom, in integer arithmetic.
  const int gltot = wrap_sub(wrap_mul(inl, inc), 1);
  const int gllin = wrap_sub(inl, 1);
  const int glcol = wrap_sub(inc, 1);
  const int glres = wrap_sub(wrap_sub(gltot, gllin), glcol);

  const Real varcol = sqdcol / glcol;
  const Real varlin = sqdlin / gllin;
  const Real varres = sqdres / glres;
  const Real dpres = sqrt(varres);
  const Real fcol = varcol / varres;
  const Real flin = varlin / varres;

  anova::write_analysis_title(c);
  anova::write_columns_line(c, fcol, glcol);
  anova::write_rows_line(c, flin, gllin);
  anova::write_residual_line(c, dpres, glres);
  c.blank();
  c.list({kStars55});
  c.blank();
  anova::write_means(c, mediacol, inc, medialin, inl);
  return Ending::Prompt;
}

}  // namespace amostra
