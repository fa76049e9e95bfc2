// Linear and linearised correlation and regression (menu code 7): the pairs are
// typed once, then fitted to one of five models as often as the user asks.
#include "core/int32.hpp"
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "regression/linear_fit.hpp"

namespace amostra {
namespace {

constexpr const char* kStars55 = "*******************************************************";

// The model's title; a code outside 1..5 is fitted as the straight line and
// shown under the straight line's title.
const Text& model_title(const Tables& t, int icod) { return t.model[(icod >= 1 && icod <= 5) ? icod - 1 : 0]; }

}  // namespace

LinearFit fit_linear(int icod, int n, const Column& xx, const Column& yy, Column& x, Column& y) {
  LinearFit f;

  // Transformation of the pairs as typed.
  for (int j = 1; j <= n; ++j) {
    switch (icod) {
      case 2:  // hyperbolic
        x(j) = 1 / xx(j);
        y(j) = yy(j);
        break;
      case 3:  // logarithmic: Y = a + b ln X
        x(j) = ln(xx(j));
        y(j) = yy(j);
        break;
      case 4:  // exponential
        x(j) = xx(j);
        y(j) = ln(yy(j));
        break;
      case 5:  // power
        x(j) = ln(xx(j));
        y(j) = ln(yy(j));
        break;
      default:  // straight line
        x(j) = xx(j);
        y(j) = yy(j);
        break;
    }
  }

  // Sums, each stored after every pair.
  for (int j = 1; j <= n; ++j) {
    f.ssx += x(j);
    f.ssy += y(j);
    f.ssxy += x(j) * y(j);
    f.ssx2 += x(j) * x(j);
    f.ssy2 += y(j) * y(j);
  }

  f.covxy = f.ssxy - (f.ssx * f.ssy) / n;
  f.varx = f.ssx2 - (f.ssx * f.ssx) / n;
  f.vary = f.ssy2 - (f.ssy * f.ssy) / n;
  f.r = f.covxy / sqrt(f.varx * f.vary);
  f.r2 = f.r * f.r;
  f.b = f.covxy / f.varx;
  f.a = f.ssy / n - (f.ssx / n) * f.b;
  // The exponential and power fits report a on the scale of Y.
  if (icod == 4 || icod == 5) f.a = exp(f.a);

  // Residuals on the pairs as typed.
  for (int j = 1; j <= n; ++j) {
    Ext estimate;
    switch (icod) {
      case 2:
        estimate = (1 / xx(j)) * f.b + f.a;
        break;
      case 3:
        estimate = ln(xx(j)) * f.b + f.a;
        break;
      case 4:
        estimate = exp(Real(xx(j) * f.b)) * f.a;
        break;
      case 5:
        estimate = pow(xx(j), f.b) * f.a;
        break;
      default:
        estimate = xx(j) * f.b + f.a;
        break;
    }
    f.somer += sq(yy(j) - estimate);
  }

  // n - 2 is an integer difference, converted to a real.
  f.erro = sqrt(f.somer / wrap_sub(n, 2));
  return f;
}

// `icod` is the menu's code variable: the model codes are read into it, and
// the end-of-application prompt reads into it after them.
Ending linear_regression(Console& c, const Tables& t, int& icod) {
  int n = 0;
  Column xx, yy, x, y;
  int icont = 0;

  c.list({kStars55});
  c.list({"****  CORRELACAO E REGRESSAO LINEAR/LINEARIZADAS   ****"});
  c.list({"*** *         Limite = 200 pares de dados          ****"});
  c.list({kStars55});
  c.blank();

  read_count(c, n, kMaxPairs, [&] {
    c.list({"****   Quantos pares de dados serao analisados?    ****"});
    c.blank();
  });
  c.blank(2);

  for (int j = 1; j <= n; ++j) {
    c.write("(1x, \"Digitar, nesta ordem,  X e Y do par numero\", a1,i3)", {t.bra, j});
    c.read(xx(j), yy(j));
  }

  // One fit per pass, on the same pairs.
  do {
    // Model menu; the code is taken as typed.
    c.blank();
    c.list({kStars55});
    c.list({"    Qual o codigo do modelo a ser ajustado ?"});
    c.list({"Obs.:(a*e = a vezes e)#(X**b = X elevado ao expoente b)"});
    c.blank();
    c.list({"(1) Y = a + bX       - (Linha reta)"});
    c.list({"(2) Y = a + b(1/X)   - (Curva hiperbólica)"});
    c.list({"(3) Y = a + X**b     - (Curva logaritmica)"});
    c.list({"(4) Y = a*e**(bX)    - (Curva exponencial)"});
    c.list({"(5) Y = a*X**b       - (Curva potencial)"});
    c.list({kStars55});
    c.blank();
    c.read(icod);

    const LinearFit f = fit_linear(icod, n, xx, yy, x, y);

    // Result box.
    c.blank(2);
    c.list({model_title(t, icod)});
    c.list({kStars55});
    c.write("(1x,\"*\",\"  Coeficiente  de  correlação = \",f6.2, 15x,\"*\")", {f.r});
    c.write("(1x,\"*\",\"  Coeficiente de determinacao = \",f6.2, 15x,\"*\")", {f.r2});
    c.write("(1x,\"*\",\"  Coeficientes da Regressao: a = \",f6.2,\"   b = \",f6.2, \" *\")", {f.a, f.b});
    c.write("(1x,\"*  Erro padrão das estimativas igual a \",f7.2,8x,\"*\")", {f.erro});
    c.list({kStars55});
    c.blank();

    // Another model?  Any nonzero answer fits again.
    c.list({"*** Quer ajustar outro modelo? ///   0=Não    1=Sim ***"});
    c.blank();
    c.read(icont);
  } while (icont != 0);

  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
