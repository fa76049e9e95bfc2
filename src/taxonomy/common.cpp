#include "taxonomy/common.hpp"

namespace amostra::taxonomy {

Group::Group() : nomuto(kSpecies, Text(20)) {
  const char* texts[5] = {"Caracter muito agregativo", "Caracter agregativo", "Caracter intermediário",
                          "Caracter discriminativo", "Caracter muito discriminativo"};
  for (int k = 0; k < 5; ++k) graud[k] = Text::of(30, texts[k]);
}

int verdict_step(Real d) {
  // Five tests one after the other; the ranges do not overlap.  A NaN fails
  // every comparison and so gets no step.
  int step = 0;
  if (d >= Real(0.0) && d <= Real(1.0)) step = 1;
  if (d > Real(1.0) && d <= Real(2.0)) step = 2;
  if (d > Real(2.0) && d <= Real(3.0)) step = 3;
  if (d > Real(3.0) && d <= Real(4.0)) step = 4;
  if (d > Real(4.0) && d <= Real(5.0)) step = 5;
  return step;
}

void closing_row(Console& c) { c.write("(1x, 54(\"*\"))"); }

void result_box(Console& c, const Group& g) {
  // D and its frame.
  c.write("(1x,54(\"*\")/1x,10(\"*\"),1x,\"Grau de Discriminaçao / Agregacao\",1x,9(\"*\")/1x,20(\"*\"),2x,\"D = \", F6.4,2x,20(\"*\")/1x,54(\"*\"))",
          {g.d});
  c.blank();
  int step = verdict_step(g.d);
  if (step != 0) c.write("(1x, 54(\"*\")/ 1x,\"*\",11x,A30,11x,\"*\")", {g.graud[step - 1]});
  closing_row(c);
}

void species_name_box(Console& c, int j) {
  c.write("(1x, 54(\"*\") /1x,\"*\", 12x,\"Digitar o nome da especie \",I2,12x,\"*\"/1x, 54(\"*\"))", {j});
}

void character_name_box(Console& c) {
  c.write("(1x,54(\"*\")/1x,\"*\",7x,\"Qual carater taxonomico sera analisado?\", 6x, \"*\"/ 1x,54(\"*\"))");
}

void another_character_box(Console& c) {
  c.write("(1x,54(\"*\")/1x,\"*\",2x,\"Voce quer analisar outro caracter? 0=Nao - 1=Sim\", 2x, \"*\"/1x, 54(\"*\"))");
}

}  // namespace amostra::taxonomy
