#include "menu/tables.hpp"

namespace amostra {

Tables::Tables() {
  mens1 = Text::of(18, "CURVAS D0 MODELO 1");  // "D0" with a zero, as it has always been shown
  mens1a = Text::of(30, "(Ver pagina 60 do tutorial)");
  mens2 = Text::of(18, "CURVAS DO MODELO 2");
  mens2a = Text::of(30, "(Ver pagina 61 do tutorial)");
  mens3 = Text::of(18, "CURVAS DO MODELO 3");
  mens3a = Text::of(30, "(Ver pagina 63 do tutorial)");
  mens4 = Text::of(18, "CURVAS DO MODELO 4");
  mens4a = Text::of(30, "(Ver pagina 65 do tutorial)");
  mens5 = Text::of(4, "A = ");
  mens6 = Text::of(4, "B = ");
  mens7 = Text::of(4, "C = ");
  mens8 = Text::of(30, "Erro padrão da Regressao = ");
  resho = Text::of(14, "Aceitamos_Ho");
  resh1 = Text::of(14, "Rejeitamos_Ho");
  ast = Text::of(1, "*");
  bra = Text::of(1, " ");
  mensagem = Text::of(22, "Ver Tabela para N =");
  mensagem2 = Text::of(22, "Z tabelar = 1.96 **");
  const char* models[5] = {
      "         Modelo: Linha reta",        "         Modelo: Curva hiperbólica",
      "         Modelo: Curva Logarítmica", "         Modelo: Curva Exponencial",
      "         Modelo: Curva potencial",
  };
  for (int k = 0; k < 5; ++k) model[k] = Text::of(40, models[k]);
  const char* titles[17] = {
      "Dimensionamento de Amostras",
      "Teste 't' de Student",
      "Teste 't' para dados parelhados",
      "ANOVA - 1 critério de classificação",
      "ANOVA - 2 critérios de classificação",
      "ANOVA - 2 critérios com repetições",
      "Correlacao/Regressao linear/linearizadas",
      "Teste de Aleatoriedade de 1 amostra",
      "Teste Qui-quadrado",
      "Teste  Kolmogorov-Smirnov",
      "Teste Z para proporcoes",
      "Teste de Wilcoxon",
      "Teste de Mann-Withney",
      "Correlacao de Spearman",
      "Teste de Kruskal-Wallis",
      "Regressoes Curvelineas",
      "Potencial agregativo/discriminativo",
  };
  for (int k = 0; k < 20; ++k) aplic[k] = k < 17 ? Text::of(50, titles[k]) : Text(50);
}

}  // namespace amostra
