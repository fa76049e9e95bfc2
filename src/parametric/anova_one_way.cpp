// One-way analysis of variance of a balanced design: `inc` treatments, each
// with `inr` repetitions.  Prints F with its degrees of freedom, the residual
// standard deviation and the mean of every treatment.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "parametric/anova_common.hpp"

namespace amostra {

using anova::kStars55;

Ending anova_one_way(Console& c, const Tables& t) {
  constexpr int kTreatments = 100;   // length of somac and mediacol
  constexpr int kRepetitions = 100;  // rows of dadox in use

  int inc = 0;
  int inr = 0;
  Real somat = 0;
  Real soma2t = 0;
  Real soma2c = 0;
  anova::Table dadox(100, 200);
  anova::Vector<kTreatments> somac{};
  anova::Vector<kTreatments> mediacol{};

  read_count(c, inc, kTreatments, [&] { c.list({"**** Quantos tratamentos serão analisados? *****"}); });
  c.blank();
  read_count(c, inr, kRepetitions, [&] { c.list({"*** Numero de repeticoes em cada tratamento ****"}); });

  for (int j = 1; j <= inc; ++j) somac[j] = 0;
  const Real rnr = inr;
  const Real rnc = inc;

  // Data, by repetition: every treatment of repetition 1, then of repetition 2...
  for (int i = 1; i <= inr; ++i) {
    for (int j = 1; j <= inc; ++j) {
      c.write("(1x,\"*** Digitar repeticao \",i3, \" do tratamento \",I2)", {i, j});
      c.blank();
      Real& x = dadox(i, j);
      c.read(x);
      somat += x;
      soma2t += x * x;
      somac[j] += x;
    }
  }

  for (int j = 1; j <= inc; ++j) mediacol[j] = somac[j] / rnr;

  // Degrees of freedom: formed from the real counts, truncated to integers.
  const int gltot = trunc_int(rnc * rnr - 1);
  const int glcol = trunc_int(rnc - 1);
  const int glres = wrap_sub(gltot, glcol);

  const Real fc = (somat * somat) / (rnc * rnr);
  const Real sqdtot = soma2t - fc;
  for (int j = 1; j <= inc; ++j) soma2c += (somac[j] * somac[j]) / rnr;
  const Real sqdcol = soma2c - fc;
  const Real sqdres = sqdtot - sqdcol;
  const Real varcol = sqdcol / glcol;
  const Real varres = sqdres / glres;
  const Real dpres = sqrt(varres);
  const Real testef = varcol / varres;

  c.list({kStars55});
  c.write("(1X,22(\"*\"),\" RESULTADO \", 21(\"*\"),A1)", {t.ast});
  c.list({"*                                                     *"});
  c.write("(1X,\"*\",22X,\"F =\",F6.2, 22X,\"*\")", {testef});
  c.write("(1X,\"*\",9X,\"GLCOL =\",I3,13X,\" GLRES = \", I3, 9X,\"*\")", {glcol, glres});
  c.write("(1X,\"*\",10X, \"Desvio Padrao Residual =\", F6.2, 13X,\"*\")", {dpres});
  c.list({kStars55});
  c.blank();
  for (int j = 1; j <= inc; ++j) anova::write_column_mean(c, j, mediacol[j]);
  c.list({kStars55});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
