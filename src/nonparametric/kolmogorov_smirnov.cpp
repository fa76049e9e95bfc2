// Kolmogorov-Smirnov test (menu code 10): the largest absolute difference Dc
// between the cumulative observed and the cumulative theoretical proportions
// of named classes, with the 5 % critical value Dt = 1.36/sqrt(N) when the
// total observed frequency N is above 35.
#include <vector>

#include "console/dialogue.hpp"
#include "menu/apps.hpp"

namespace amostra {
namespace {

constexpr int kMaxClasses = 50;
constexpr const char* kFrame = "(1x, 50(\"*\"), a1)";

}  // namespace

Ending kolmogorov_smirnov(Console& c, const Tables& t) {
  int inc = 0;
  std::vector<Text> classe(kMaxClasses, Text(10));
  Real fre[kMaxClasses];
  Real fso[kMaxClasses];
  Real fro[kMaxClasses];
  Real fao[kMaxClasses];
  Real fae[kMaxClasses];
  Real difa[kMaxClasses];
  Real soma1;
  Real valmax;

  c.write(kFrame, {t.bra});
  c.write("(1x,\"*\", 11x,\"Teste de Kolmogorov-Smirnov\", 10x,\"*\",a1)", {t.bra});
  c.write(kFrame, {t.bra});
  c.blank();

  read_count(c, inc, kMaxClasses, [&] { c.list({"* Em quantas classes os dados estao distribuidos?*"}); });
  c.blank();

  // Class names (used only in the prompts), theoretical proportions, observed frequencies.
  for (int j = 1; j <= inc; ++j) {
    c.list({"*** Digitar o nome da classe", j, "***"});
    c.read(classe[j - 1]);
    c.blank();
  }
  c.blank();
  for (int j = 1; j <= inc; ++j) {
    c.write("(1x, \"** Digitar a proporcao (%) teorica da classe = \",  A15, \" **\")", {classe[j - 1]});
    c.read(fre[j - 1]);
    c.blank();
  }
  soma1 = 0;
  c.blank();
  for (int j = 1; j <= inc; ++j) {
    c.list({"** Digitar Freqência observada (Fo) da classe = ", j});
    c.read(fso[j - 1]);
    soma1 = soma1 + fso[j - 1];
    c.blank();
  }

  // Observed proportions, the two cumulative distributions and their differences.
  for (int j = 0; j < inc; ++j) fro[j] = fso[j] / soma1;
  Real somafo;
  for (int j = 0; j < inc; ++j) fao[j] = somafo = somafo + fro[j];
  Real somafe;
  for (int j = 0; j < inc; ++j) fae[j] = somafe = somafe + fre[j];
  for (int j = 0; j < inc; ++j) difa[j] = abs(fao[j] - fae[j]);

  // Dc: a running maximum from 0, replaced only by a strictly greater difference.
  valmax = 0;
  for (int j = 0; j < inc; ++j)
    if (difa[j] > valmax) valmax = difa[j];

  c.blank();
  if (soma1 <= 35) {
    c.write(kFrame, {t.bra});
    c.write("(1x,\"*\", 9X,\" Dc = \",f5.3, \" ** Dt (ver tabela)\",8X,\" *\")", {valmax});
  } else {
    Real dt = Real(1.36) / sqrt(soma1);
    c.write(kFrame, {t.bra});
    c.write("(1x,\"*\",10x,\" Dc = \",f5.3, \" ** \",\" Dt  = \",F5.3, 12x \"*\")", {valmax, dt});
  }
  c.write(kFrame, {t.bra});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
