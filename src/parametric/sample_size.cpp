// Sample size estimation (menu code 1): how many observations a sample needs
// for a given maximum error, for a proportion (n = 4pq/E²) or for a mean
// (n = 4s²/E² with the error in the unit of the mean, n = 4CV²/E² with a
// relative error).  The variance and mean are typed, or computed from a pilot
// sample.  The size is printed rounded to a whole number, never rounded up.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"

namespace amostra {

namespace {
constexpr int kPilotCapacity = 200;  // elements of `x`
}  // namespace

Ending sample_size(Console& c, const Tables& t) {
  int tipo = 0, estima = 0, alt = 0, n = 0, mod = 0;
  Real p, q, erro, errop, varx, mediax, cv, rn, somax, somax2, rnc;
  Real x[kPilotCapacity];
  const Real four(4.0);

  c.blank(2);
  somax = 0;
  somax2 = 0;
  c.write("(1x, 64(\"*\"),a1)", {t.ast});
  c.blank();

  // The kind of variable; any answer but 1 or 2 shows the title again.
  do {
    c.write("(1x, 18(\"*\"), \" DIMENSIONAMENTO DE AMOSTRAS \",16(\"*\"),a1)", {t.bra});
    c.write("(1x, \"****** Tipo de variavel: (1) = discreta /// (2) = continua ****\", a1)", {t.bra});
    c.write("(1x, 64(\"*\"),a1)", {t.ast});
    c.blank();
    c.read(tipo);
  } while (tipo != 1 && tipo != 2);

  if (tipo == 1) {
    // Discrete variable: a proportion.
    c.blank();
    do {
      c.list({"*** Tem um estimativa da proporcao 'p'? /// nao = 0  /sim = 1 ***"});
      c.read(estima);
    } while (estima != 0 && estima != 1);

    if (estima == 0) {
      p = Real(0.5);
      q = Real(0.5);
    } else {
      c.blank();
      // Strictly between 0 and 1; a not-a-number fails both comparisons.
      do {
        c.list({"*** Informe o valor do p estimado ***"});
        c.read(p);
      } while (!(p > 0 && p < 1));
      q = 1 - p;
    }

    c.blank();
    do {
      c.list({"*** Qual o erro máximo aceito no dimensionamento? ***"});
      c.read(erro);
    } while (!(erro > 0 && erro < 1));

    rnc = four * p * q / sq(erro);

    c.blank();
    c.write("(1x, 64(\"*\"),a1)", {t.bra});
    c.write("(1x,\"*\",\" Para um erro maximo = \",f4.2,\" /// \", \"Tamanho da amostra = \", F8.0, \" *\")",
            {erro, rnc});
    c.write("(1x, 64(\"*\"),a1)");
  } else {
    // Continuous variable: a mean.
    do {
      c.write("(1x,\"*** Estimativa da variancia e media? // (0) nao /// (1) sim  ***\", A1)", {t.bra});
      c.read(alt);
    } while (alt != 0 && alt != 1);

    if (alt == 1) {
      // Variance and mean typed by the user, neither checked.
      c.blank();
      c.list({"*** Digitar valor da variancia estimada: ***"});
      c.read(varx);
      c.blank();
      c.list({"*** Digitar o valor da média estimada: ***"});
      c.read(mediax);
      cv = sqrt(varx) / mediax;
    } else {
      // Pilot sample.  The announced minimum of 20 is not checked; a size
      // beyond the array is refused and asked again.
      c.blank();
      c.list({"****     DIGITAR DADOS DA AMOSTRA PILOTO       ****"});
      c.blank();
      read_count(c, n, kPilotCapacity, [&] {
        c.list({"****  Quantos dados serao digitados? (N >=20)  ****"});
        c.blank();
      });
      rn = n;
      c.blank();
      for (int j = 1; j <= n; ++j) {
        c.list({"Digitar dado numero ", j});
        c.read(x[j - 1]);
      }
      for (int j = 1; j <= n; ++j) {
        somax = somax + x[j - 1];
        somax2 = somax2 + sq(x[j - 1]);
      }
      varx = (somax2 - sq(somax) / rn) / (rn - 1);
      mediax = somax / rn;
      cv = sqrt(varx) / mediax;
    }

    c.blank();
    do {
      c.write("(1x,\"*** (1) Erro na unidade da media? // (2) Erro porcentual? ****\", A1)", {t.bra});
      c.read(mod);
    } while (mod != 1 && mod != 2);

    if (mod == 1) {
      // Error in the unit of the mean, not checked: zero prints as an infinity.
      c.blank();
      c.list({"**  Informe o erro máximo aceitavel   **"});
      c.read(erro);
      rnc = four * varx / sq(erro);
    } else {
      // Relative error, a fraction strictly between 0 and 1.
      c.blank();
      do {
        c.list({"*** Qual o erro porcentual aceitavel? ***"});
        c.read(errop);
      } while (!(errop > 0 && errop < 1));
      rnc = four * sq(cv) / sq(errop);
      erro = errop;
    }

    c.write("(1x, 64(\"*\"),a1)", {t.bra});
    c.write("(1x,\"*\",\" Erro maximo aceitavel = \",f6.2,\" // \", \"Tamanho da amostra = \", F6.0, \"*\")",
            {erro, rnc});
    c.write("(1x, 64(\"*\"),a1)", {t.bra});
  }

  c.blank(2);
  return Ending::Prompt;
}

}  // namespace amostra
