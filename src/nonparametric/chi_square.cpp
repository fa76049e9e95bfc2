// Chi-square tests (menu code 9): goodness of fit on typed pairs of observed
// and expected frequencies, and independence on a contingency table whose
// expected frequencies come from the row and column totals.  Only the
// statistic and its degrees of freedom are shown.
#include <cstdint>

#include "core/int32.hpp"
#include "console/dialogue.hpp"
#include "menu/apps.hpp"

namespace amostra {
namespace {

constexpr const char* kStars54 = "******************************************************";
constexpr const char* kStars42 = "******************************************";
constexpr int kMaxPairs = 100;
constexpr int kMaxRows = 50;
constexpr int kMaxColumns = 50;

void goodness_of_fit(Console& c, Real& qui, int& gl) {
  int n = 0;
  Real fso[kMaxPairs];
  Real fse[kMaxPairs];
  Real dif[kMaxPairs];

  c.blank();
  read_count(c, n, kMaxPairs, [&] { c.list({"***  Quantos pares de Fo e Fe serao analisados?   ***"}); });
  c.blank();
  c.list({"*** Informar Fo e Fe, nessa ordem ***"});
  c.blank();
  for (int k = 1; k <= n; ++k) {
    c.write("(1x, \"Digitar o par de dados numero\",1x,i2 )", {k});
    c.read(fso[k - 1], fse[k - 1]);
    c.blank();
  }

  for (int k = 0; k < n; ++k) {
    dif[k] = (fso[k] - fse[k]) * (fso[k] - fse[k]) / fse[k];
    qui = qui + dif[k];
  }
  gl = wrap_sub(n, 1);

  c.blank();
  c.list({kStars42});
  c.write("(1x,\"*\",\" Qui-Quadrado =\",1x,f6.2,4x,\"**\"4x\" GL =\",i2 \" *\")", {qui, gl});
  c.list({kStars42});
}

void independence(Console& c, Real& qui, int& gl) {
  int inl = 0;
  int inc = 0;
  Real fo[kMaxRows][kMaxColumns];
  Real fe[kMaxRows][kMaxColumns];
  Real somal[kMaxRows];
  Real somac[kMaxColumns];
  Real somat;

  c.list({"** Digitar as frequencias da tabela de contingencia **"});
  c.blank();
  read_count(c, inl, kMaxRows, [&] { c.list({"*** Quantas linhas tem a tabela? ***"}); });
  c.blank();
  read_count(c, inc, kMaxColumns, [&] { c.list({"Quantas colunas tem a tabela? "}); });
  c.blank();

  // Row by row.
  for (int i = 1; i <= inl; ++i) {
    for (int j = 1; j <= inc; ++j) {
      c.write("(1x,\"**\",\" Dado da celula: linha \",i2,\" coluna \", i2,\" **\")", {i, j});
      c.read(fo[i - 1][j - 1]);
    }
    c.write("(1x,\"   *** Digitacao da linha \",i2, \" concluida ***\")", {i});
    c.blank();
  }

  // Row totals, column totals, and the grand total as the sum of the column totals.
  for (int i = 0; i < inl; ++i) somal[i] = 0;
  for (int i = 0; i < inl; ++i)
    for (int j = 0; j < inc; ++j) somal[i] = somal[i] + fo[i][j];
  for (int j = 0; j < inc; ++j) somac[j] = 0;
  for (int j = 0; j < inc; ++j)
    for (int i = 0; i < inl; ++i) somac[j] = somac[j] + fo[i][j];
  somat = 0;
  for (int j = 0; j < inc; ++j) somat = somat + somac[j];

  // Expected frequencies, then the statistic from the stored expectations.
  for (int i = 0; i < inl; ++i)
    for (int j = 0; j < inc; ++j) fe[i][j] = (somal[i] * somac[j]) / somat;
  for (int i = 0; i < inl; ++i)
    for (int j = 0; j < inc; ++j) qui = qui + (fo[i][j] - fe[i][j]) * (fo[i][j] - fe[i][j]) / fe[i][j];
  gl = wrap_mul(wrap_sub(inc, 1), wrap_sub(inl, 1));

  c.blank();
  c.list({kStars54});
  c.write("(1x,11(\"*\") ,\" Qui-quadrado = \",F6.2,\"   GL = \", i3,1x, 9(\"*\"))", {qui, gl});
  c.list({kStars54});
}

}  // namespace

Ending chi_square(Console& c, const Tables& t) {
  int tipo = 0;
  Real qui;
  int gl = 0;

  c.write("(1x, 18(\"*\"),1x,\"TESTE QUI-QUADRADO\", 1x,18(\"*\"),a1)", {t.bra});

  // Choice of test: 1 or 2, asked again otherwise.
  do {
    c.list({kStars54});
    c.list({"***         Digitar o modelo de analise            ***"});
    c.blank();
    c.list({"* Teste de aderencia (1) / Teste de Independência (2)*"});
    c.list({kStars54});
    c.read(tipo);
  } while (tipo != 1 && tipo != 2);

  qui = 0;
  if (tipo == 2) independence(c, qui, gl);
  else goodness_of_fit(c, qui, gl);

  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
