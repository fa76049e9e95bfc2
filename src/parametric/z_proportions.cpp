// Z test for proportions (menu code 11): one sample proportion against the
// population's, or two sample proportions against each other, by the normal
// approximation; |Z| is compared with the fixed critical value 1.96.  Every
// exit goes straight to the program end, without the end-of-application
// prompt.
#include "menu/apps.hpp"

namespace amostra {

namespace {
constexpr const char* kStars52 = "****************************************************";
}  // namespace

Ending z_proportions(Console& c, const Tables& t) {
  int k = 0;
  Real pp, qq, p, q, p1, p2, q1, q2, rn1, rn2, z;
  Text res(14);
  const Real critical(1.96);
  const Real sufficient(5.0);

  c.list({kStars52});
  c.list({"**            TESTE Z PARA PROPORCOES             **"});
  c.list({kStars52});
  c.blank();

  // Type of test; any answer but 1 or 2 shows the box again.
  do {
    c.list({"**************** Tipo de Teste *********************"});
    c.list({"* 'p'da amostra VERSUS 'P'populacional - Digitar 1 *"});
    c.list({"* 'p1' amostra 1 VERSUS 'p2' amostra 2 - Digitar 2 *"});
    c.list({kStars52});
    c.blank();
    c.read(k);
  } while (k != 1 && k != 2);

  if (k == 2) {
    // Two samples; sizes are read as reals.
    c.list({"**    Qual o valor do 'p' da amostra 1 (p1)?      **"});
    c.read(p1);
    c.blank();
    c.list({"**        Qual o tamanho da amostra 1 (n1)?       **"});
    c.read(rn1);
    c.list({kStars52});
    c.list({"**    Qual o valor do 'p' da amostra 2  (p2)?     **"});
    c.read(p2);
    c.blank();
    c.list({"**        Qual o tamanho da amostra 2 (n2)?       **"});
    c.read(rn2);
    c.list({kStars52});

    // Each sample needs more than 5 expected successes and failures.
    q1 = 1 - p1;
    if (p1 * rn1 <= sufficient || rn1 * q1 <= sufficient) {
      c.list({" *Amostra 1 é insuficente. Ampliar a amostra  e refazer o teste * "});
      return Ending::Direct;
    }
    q2 = 1 - p2;
    if (p2 * rn2 <= sufficient || rn2 * q2 <= sufficient) {
      c.list({" *Amostra 2 é insuficente. Ampliar amostra e refazer o teste * "});
      return Ending::Direct;
    }

    // Pooled proportion.
    p = (rn1 * p1 + rn2 * p2) / (rn1 + rn2);
    q = 1 - p;
    z = (p1 - p2) / sqrt(p * q * ((rn1 + rn2) / (rn1 * rn2)));
    z = abs(z);
    res = z <= critical ? t.resho : t.resh1;
  } else {
    // One sample against the population proportion.
    c.blank();
    c.list({"**       Qual o valor do 'P' populacional?        **"});
    c.read(pp);
    qq = 1 - pp;
    c.blank();
    c.list({"**         Qual o valor do 'p' da amostra?        **"});
    c.read(p);
    q = 1 - p;
    c.blank();
    c.list({"**              Qual o tamanho da amostra?        **"});
    c.read(rn1);

    // Here a product of exactly 5 is enough.
    if (p * rn1 < sufficient || rn1 * q < sufficient) {
      c.list({"** Amostra insuficente.  Precisa ampliar a amostra e refazer o teste. **"});
      return Ending::Direct;
    }

    z = (p - pp) / sqrt(((1 - pp) * pp) / rn1);
    z = abs(z);
    // A not-a-number is not <= 1.96: the hypothesis is rejected.
    res = z <= critical ? t.resho : t.resh1;
    c.blank();
  }

  c.list({kStars52});
  c.write("(1x,\"**\",13x,\"Z = \",f5.2, \" /// \",A14,7x,\"**\")", {z, res});
  c.list({kStars52});
  return Ending::Direct;
}

}  // namespace amostra
