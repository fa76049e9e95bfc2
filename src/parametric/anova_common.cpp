#include "parametric/anova_common.hpp"

namespace amostra::anova {

void write_column_mean(Console& c, int j, Real mean) {
  c.write("( 1x,15x, \"Mediacol (\"   ,I2,  \") = \",   f6.2, 10x)", {j, mean});
}

void write_analysis_title(Console& c) {
  c.list({kStars55});
  c.list({"*                 RESULTADOS DA ANALISE               *"});
  c.list({kStars55});
  c.blank();
}

void write_columns_line(Console& c, Real fcol, int glcol) {
  c.write("(1x, \"F(colunas)   = \",F6.2, 5X, \"GL(colunas)  = \", I3)", {fcol, glcol});
}

void write_rows_line(Console& c, Real flin, int gllin) {
  c.write("(1x, \"F(linhas)    = \",f6.2, 5x, \"GL(linhas)   = \", I3)", {flin, gllin});
}

void write_residual_line(Console& c, Real dpres, int glres) {
  c.write("(1X, \"DPadrao Res. = \",f6.2, 5x, \"GL(residuo)  = \", I3)", {dpres, glres});
}

void write_means(Console& c, const Vector<100>& mediacol, int inc, const Vector<100>& medialin, int inl) {
  for (int j = 1; j <= inc; ++j) write_column_mean(c, j, mediacol[j]);
  c.list({kStars54});
  for (int i = 1; i <= inl; ++i)
    c.write("( 1x,15x, \"Medialin (\"   ,I2,  \") = \",   f6.2, 10x)", {i, medialin[i]});
  c.list({kStars55});
  c.list({kStars55});
  c.blank();
}

}  // namespace amostra::anova
