// Student's t test for two independent samples (menu code 2): means and
// variances of both samples, the variance ratio Fc for the homogeneity of the
// variances, then the pooled t with its degrees of freedom, or for
// heterogeneous variances the unpooled t, with its degrees of freedom when the
// sizes are equal or beside a weighted critical t when they differ.  No
// verdict: the user compares with the table.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"

namespace amostra {

namespace {
constexpr int kSampleCapacity = 200;  // elements of `x` and of `y`
}  // namespace

Ending student_t(Console& c, const Tables& t) {
  int nx = 0, ny = 0, homo = 0;
  Real rnx, rny, somax, somay, soma2x, soma2y, glx, gly, medx, medy, varx, vary, varco, varnco;
  Real fc, glnum, glden, tc, glf, tx, ty, wx, wy, tw;
  Real x[kSampleCapacity], y[kSampleCapacity];

  somax = 0;
  somay = 0;
  soma2x = 0;
  soma2y = 0;

  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1x, \"***\", 29x, \" TESTE T \", a1)", {t.bra});
  c.blank();

  // Sample sizes; a size beyond the arrays is refused and asked again.
  read_count(c, nx, kSampleCapacity, [&] { c.list({"***     Qual o tamanho da amostra 'A'?  na =      "}); });
  rnx = nx;
  read_count(c, ny, kSampleCapacity, [&] { c.list({"***     Qual o tamanho da amostra 'B'?  nb =      "}); });
  rny = ny;
  c.write("(1x, 64(\"*\"), a1)");

  // The data, each on a read of its own; the sums are stored after each datum.
  for (int j = 1; j <= nx; ++j) {
    c.write("(1x, \"*  Digitar o dado numero \",I3, \" da amostra A  *\")", {j});
    c.read(x[j - 1]);
    somax = somax + x[j - 1];
    soma2x = soma2x + sq(x[j - 1]);
  }
  c.write("(1x, 64(\"*\"), a1)");
  for (int j = 1; j <= ny; ++j) {
    c.write("(1x, \"*  Digitar o dado numero \",I3, \" da amostra B  *\")", {j});
    c.read(y[j - 1]);
    somay = somay + y[j - 1];
    soma2y = soma2y + sq(y[j - 1]);
  }

  // Means, variances (divisor n - 1), pooled variance and the sum of the
  // variances of the two means; each stored before the next uses it.
  glx = rnx - 1;
  gly = rny - 1;
  medx = somax / rnx;
  varx = (soma2x - sq(somax) / rnx) / (rnx - 1);
  medy = somay / rny;
  vary = (soma2y - sq(somay) / rny) / (rny - 1);
  varco = (varx * glx + vary * gly) / (glx + gly);
  varnco = varx / rnx + vary / rny;

  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1x,\"* \",\"MEDa=\",F7.2,2x,\"VARa=\",f7.2,\" /// \",\"MEDb=\",f7.2x,\"VARb=\", f7.2,5x,\"*\")",
          {medx, varx, medy, vary});
  c.write("(1x, 64(\"*\"), a1)", {t.bra});

  // Variance ratio, the larger variance over the smaller; on a tie (or a
  // not-a-number) sample B's variance is the numerator.
  if (varx > vary) {
    fc = varx / vary;
    glnum = glx;
    glden = gly;
  } else {
    fc = vary / varx;
    glnum = gly;
    glden = glx;
  }

  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1X,\"*\",12X,\"TESTANDO A HOMOGENEIDADE DAS VARIANCIAS\",11X,\"*\", a1)", {t.bra});
  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1x,\"*\",25x,\"Fc = \",F6.2, 26x, \"*\")", {fc});
  c.write("(1x,\"*\",9x,\"Graus de liberdade do numerador   = \", f4.0,  13X, \"*\")", {glnum});
  c.write("(1x,\"*\",9x, \"Graus de liberdade do denominador = \", f4.0, 13X,\"*\")", {glden});
  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1x,\"*\",8x, \"Se as variancias sao homogeneas:   digitar 0 \",9x,\"*\", a1)", {t.bra});
  c.write("(1x,\"*\",8x, \"Se as variancias sao heterogeneas: digitar 1 \",9x,\"*\", a1)", {t.bra});
  c.write("(1x, 64(\"*\"), a1)", {t.bra});

  // Pooled t, one expression rounded once.
  tc = (medx - medy) / sqrt((rnx + rny) * varco / (rnx * rny));

  c.read(homo);

  if (homo == 0) {
    // Homogeneous variances: the pooled t.
    glf = glx + gly;
  } else if (nx == ny) {
    // Heterogeneous variances, equal sizes: the unpooled t.
    glf = glx;
    tc = (medx - medy) / sqrt(varnco);
  } else {
    // Heterogeneous variances, unequal sizes: the unpooled t beside the
    // critical t weighted by the variances of the two means.
    c.write("(1x,\"*\",8x,\"Qual o valor de 't' para \",f4.0,\" graus de liberdade\", 6x, \"*\")", {glx});
    c.read(tx);
    c.write("(1x,\"*\",8x,\"Qual o valor de 't' para \",f4.0,\" graus de liberdade\", 6x, \"*\")", {gly});
    c.read(ty);
    wx = varx / rnx;
    wy = vary / rny;
    tw = (tx * wx + ty * wy) / (wx + wy);
    tc = (medx - medy) / sqrt(varnco);
    c.write("(1x, 64(\"*\"), a1)");
    c.write("(1x,\"*\",6x,\"'t' calculado \", F6.2,\"  ////  't' tabelar  = \", f6.2, 6x, \"*\")", {tc, tw});
    c.write("(1x, 64(\"*\"), a1)", {t.bra});
    c.blank();
    return Ending::Prompt;
  }

  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.write("(1x,\"*    t calculado = \",f6.2,\"   ////  \",\"Graus de liberdade  \",f4.0, 5x,\"*\")", {tc, glf});
  c.write("(1x, 64(\"*\"), a1)", {t.bra});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
