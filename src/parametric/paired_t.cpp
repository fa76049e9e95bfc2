// Paired t test (menu code 3): the differences Xa - Xd of the typed pairs and
// the t of their mean, t = mean / (s / sqrt(n)), with n - 1 degrees of
// freedom.  No verdict.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"

namespace amostra {

namespace {
constexpr int kPairCapacity = 200;  // elements of `xa`, `xd` and `dif`
}  // namespace

Ending paired_t(Console& c, const Tables& tables) {
  int n = 0, nc = 0, gl = 0;
  Real rnc, somadif, soma2dif, mediadif, vardif, desvdif, t;
  Real xa[kPairCapacity], xd[kPairCapacity], dif[kPairCapacity];

  somadif = 0;
  soma2dif = 0;
  nc = 0;

  c.write("(1x, 64(\"*\"), a1)", {tables.bra});
  c.write("(1x, 17(\"*\"), \"Teste T para dados parelhados\",18(\"*\"), a1)", {tables.bra});
  c.write("(1x,6(\"*\"), \" Digitar Xa e Xd separados por um espaco em branco  \",6(\"*\"), a1)", {tables.bra});
  c.write("(1x, 64(\"*\"), a1)", {tables.bra});

  // Number of pairs; a count beyond the arrays is refused and asked again.
  read_count(c, n, kPairCapacity, [&] { c.list({"***** Quandos pares serão digitados?  *****"}); });
  c.blank();

  // Each pair is one read of two reals; the sums are stored after each pair.
  for (int j = 1; j <= n; ++j) {
    c.write("(1x, \"Digitar o par (Xa e Xd) numero \",I3)", {j});
    c.read(xa[j - 1], xd[j - 1]);
    dif[j - 1] = xa[j - 1] - xd[j - 1];
    nc = nc + 1;
    somadif = somadif + dif[j - 1];
    soma2dif = soma2dif + sq(dif[j - 1]);
  }

  rnc = nc;
  mediadif = somadif / rnc;
  vardif = (soma2dif - sq(somadif) / rnc) / (rnc - 1);
  desvdif = sqrt(vardif);
  // The inner quotient stays unrounded.
  t = mediadif / (desvdif / sqrt(rnc));
  gl = nc - 1;

  c.write("(1x, 64(\"*\"), a1)", {tables.bra});
  c.write("(1x, 11(\"*\"),\" 't' = \", f6.2, \" /// \", \"Graus de liberdade = \",I3,1x, 10(\"*\"))", {t, gl});
  c.write("(1x, 64(\"*\"), a1)", {tables.bra});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
