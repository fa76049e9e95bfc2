// Runs test of randomness of one sample (menu code 8).
//
// The observations, in the order typed, are marked 1 above the median and 0
// otherwise (attribute codes are their own marks); R, the number of runs of
// equal marks, is compared with its mean under randomness through the normal
// approximation, against the fixed critical value 1.96.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "nonparametric/ranking.hpp"
#include "nonparametric/runs_scaling.hpp"

namespace amostra {
namespace {

constexpr const char* kStars55 = "*******************************************************";
constexpr int kCapacity = 200;

}  // namespace

Ending runs_test(Console& c, const Tables&) {
  int n = 0;
  int tipo = 0;
  int casa = 0;
  Real xdado[kCapacity];
  int dado[kCapacity] = {};
  int base[kCapacity] = {};
  int dadoiter[kCapacity] = {};
  // The median is held unrounded, an integer or a half exactly: stored in
  // single precision, a median above 2^24 would move to a neighbouring whole
  // number, marking 1 a value equal to it or 0 a value above it.
  Ext medianax;
  Ext mediana;

  // Size: 20 to 200 observations, asked again until it is in range.
  for (;;) {
    c.blank();
    c.list({kStars55});
    c.list({"*    QUANTOS VALORES SERAO DIGITADOS? - 20<= N <=200  *"});
    c.list({kStars55});
    c.read(n);
    if (n >= 20 && n <= kCapacity) break;
    c.list({"AMOSTRA EST┴ FORA DOS LIMITES. "});
  }

  // Kind of data.
  c.list({kStars55});
  c.list({"*           TIPO DA VARIAVEL A SER ANALISADA          *"});
  c.list({"* CONTAGEM = 1 // MENSURACAO = 2 // ATRIBUTO(0/1) = 3 *"});
  c.list({kStars55});
  c.read(tipo);
  c.blank();

  bool attributes = false;
  if (tipo != 1 && tipo != 3) {
    // Measurements (any answer other than 1 or 3): scaled to whole numbers.
    // More than 9 decimals would overflow the integer factor: refused.
    read_count(c, casa, kRunsMaxDecimals, [&] { c.list({"NUMERO DE CASAS DECIMAIS DAS MENSURACOES"}); });
    const int factor = decimal_factor(casa);
    c.list({kStars55});
    c.list({"*   DIGITAR OS DADOS USANDO PONTO DECIMAL. Ex: 2.57   *"});
    c.list({kStars55});
    for (int j = 1; j <= n; ++j) {
      c.list({"DIGITAR A INFORMACAO REFERENTE AO ELEMENTO DE ORDEM", j});
      c.read(xdado[j - 1]);
      dado[j - 1] = scale_to_nearest(xdado[j - 1], factor);
    }
    c.blank();
  } else {
    // Whole numbers: counts, or the attribute codes 0/1.
    c.list({kStars55});
    c.list({"*        DIGITAR VALORES INTEIROS (SEM DECIMAIS)      *"});
    c.list({kStars55});
    for (int k = 1; k <= n; ++k) {
      c.list({"DIGITAR A INFORMACAO REFERENTE AO ELEMENTO DE ORDEM ", k});
      c.read(dado[k - 1]);
    }
    if (tipo == 3) {
      // Attributes: the codes themselves are the marks; no median.
      for (int l = 0; l < n; ++l) dadoiter[l] = dado[l];
      attributes = true;
    }
  }

  if (!attributes) {
    // Median: the data kept in input order, then sorted ascending.
    for (int l = 0; l < n; ++l) base[l] = dado[l];
    exchange_sort(dado, n, [](int v) { return v; });
    if (n % 2 == 0) {
      c.blank();
      int indice = n / 2;
      // The two middle values summed exactly (a 32-bit sum could wrap), halved.
      medianax = (Ext(dado[indice - 1]) + Ext(dado[indice])) / Real(2.0);
    } else {
      c.blank();
      Real xindice = Ext(n) / Real(2.0) + Real(0.5);
      int indice = trunc_int(xindice);
      medianax = Ext(dado[indice - 1]);
    }
    // The median is used as computed, an integer or a half, so that a value
    // equal to it is marked 0 like the values below it.
    mediana = medianax;
    for (int m = 0; m < n; ++m) dadoiter[m] = base[m] > mediana ? 1 : 0;
  }

  // R: one run plus one for every change of mark.
  int iter = 1;
  for (int k = 0; k + 1 < n; ++k)
    if (dadoiter[k] != dadoiter[k + 1]) ++iter;
  Real r = iter;
  c.blank();

  int n1 = 0;
  int n2 = 0;
  for (int l = 0; l < n; ++l) {
    if (dadoiter[l] == 0) ++n1;
    else ++n2;
  }
  c.blank();

  // Mean and variance of R: integer numerators and denominators, real quotients.
  Real mr = Ext(2 * n1 * n2) / Ext(n1 + n2) + 1;
  Real s2r = Ext(2 * n1 * n2 * (2 * n1 * n2 - n1 - n2)) / Ext((n1 + n2) * (n1 + n2) * (n1 + n2 - 1));
  Real sr = sqrt(s2r);
  Real z = (r - mr) / sr;
  z = abs(z);

  c.list({"VALOR DE Z = ", z});
  c.list({"N1 =", n1, "  N2 =", n2});
  c.list({"MR =", mr, "SR = ", sr, "R = ", r});

  if (z > Real(1.96)) {
    c.list({"Z > 1.96 REJEITAMOS H0. AMOSTRA NAO-ALEATORIA"});
    c.blank();
  } else {
    c.list({"Z <= 1.96 ACEITAMOS H0. AMOSTRA ALEATORIA"});
    c.blank(2);
  }
  return Ending::Prompt;
}

}  // namespace amostra
