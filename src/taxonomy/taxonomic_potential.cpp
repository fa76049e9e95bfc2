// Potential of a taxonomic character to aggregate or discriminate the species
// of a group: coded characters (states) or measured ones (Tukey comparison).
#include "menu/apps.hpp"
#include "taxonomy/coded.hpp"
#include "taxonomy/common.hpp"
#include "taxonomy/measured.hpp"

namespace amostra {

Ending taxonomic_potential(Console& c, const Tables& t) {
  taxonomy::Group g;  // the verdict texts are filled here

  // Kind of character: 1 coded, 2 measured; anything else asks again.
  int tipo = 0;
  do {
    c.blank();
    c.write("(1x,54(\"*\")/1x,\"*\",1x,\"INFORMAR O TIPO DAS VARIAVEIS QUE SERAO ANALISADAS\",1X,\"*\" /1X,\"*\", \"(1 = Variaveis discretas-Contagens e codificacoes)\",2x,\"*\"/1x,\"*\",\"(2 = Variaveis continuas-Mensuracoes (pesos,medidas)\", \"*\" /1x,54(\"*\"))");
    c.read(tipo);
  } while (tipo != 1 && tipo != 2);

  if (tipo == 1) taxonomy::coded_characters(c, g);
  else taxonomy::measured_characters(c, t.bra, g);
  return Ending::Prompt;
}

}  // namespace amostra
