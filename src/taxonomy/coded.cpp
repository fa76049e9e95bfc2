#include "taxonomy/coded.hpp"

#include <algorithm>
#include <array>

#include "console/dialogue.hpp"

namespace amostra::taxonomy {

std::size_t Marks::index(int k, int j) {
  return static_cast<std::size_t>(j - 1) * kStates + static_cast<std::size_t>(k - 1);
}

void Marks::clear() { std::fill(cells_.begin(), cells_.end(), Real(0.0)); }

CodedDegree coded_degree(const Marks& mat, int nusta, int nuto) {
  // Counts per state: the marks of each state summed over the species.
  std::array<Real, kStates> somasta{};
  for (int k = 1; k <= nusta; ++k) somasta[k - 1] = Real(0.0);
  for (int i = 1; i <= nusta; ++i)
    for (int j = 1; j <= nuto; ++j) somasta[i - 1] = somasta[i - 1] + mat(i, j);

  // Geometric mean of the counts: the product, then its root of order nusta,
  // taken as a real power whose exponent is stored before the power is taken.
  CodedDegree r;
  r.prod = Real(1.0);
  for (int j = 1; j <= nusta; ++j) r.prod = r.prod * somasta[j - 1];
  Real rnusta = nusta;
  Real rnuto = nuto;
  Real e = Real(1.0) / rnusta;
  r.g = pow(r.prod, e);

  // Degree: 0 for an even split into two states, 5 for a state per species.
  r.d = ((r.g * Real(-2.0)) + rnuto) * Real(5.0) / (rnuto - Real(2.0));
  return r;
}

void coded_characters(Console& c, Group& g) {
  // Number of species, then the advice on compound names (a typed text ends
  // at its first blank).
  c.blank();
  read_count(c, g.nuto, kSpecies, [&] {
    c.write("(1x, 54(\"*\") /1x,\"*\", 12x,\"Digitar o numero de especies \",11x,\"*\"/1x, 54(\"*\"))");
  });
  c.write("(1x,54(\"*\")/1x,\"*\",23x,\"ATENCAO\",22X,\"*\"/1x,\"*\",2x, \"Palavras compostas devem ser grafadas com hifen.\",2x,\"*\"/1x,\"*\",11x, \"EX: Apis-melifera, amarelo-claro\",9x,\"*\"/1x,54(\"*\"))");

  // Species names, typed once for every character.
  for (int j = 1; j <= g.nuto; ++j) {
    species_name_box(c, j);
    c.read(g.nomuto[j - 1]);
    c.blank();
  }

  c.blank(2);
  int nusta = 0;
  std::vector<Text> nomstatus(kStates, Text(20));
  c.blank(2);

  Marks mat;
  int jcod = 0;
  int inf = 0;
  do {
    // A new character of the same species starts with no marks.
    mat.clear();
    character_name_box(c);
    c.read(g.nomcarac);
    c.blank(2);

    // States: code k names the k-th state typed.
    read_count(c, nusta, kStates, [&] {
      c.write("(1x,54(\"*\")/1x,\"*\",2x,\"Quantos status esse caracter apresenta no grupo? \", 1x, \"*\"/ 1x,54(\"*\"))");
    });
    for (int k = 1; k <= nusta; ++k) {
      c.blank();
      c.write("(1x,54(\"*\")/1x,\"*\",4x,\"Qual status sera identificado pelo codigo \", I2, 4x, \"*\"/ 1x,54(\"*\"))", {k});
      c.read(nomstatus[k - 1]);
      c.blank();
    }
    c.blank(2);

    // A code for each species, checked and confirmed.  A code the user does
    // not confirm loses its mark and the species is asked again.
    for (int j = 1; j <= g.nuto; ++j) {
      for (;;) {
        c.write("(1x,54(\"*\")/1x,\"*\",1x,\"Codigo:\",A20,\" em \",A20,\"*\"/1x,54(\"*\"))", {g.nomcarac, g.nomuto[j - 1]});
        c.read(jcod);
        while (jcod < 1 || jcod > nusta) {
          c.write("(1x,54(\"*\")/1x,\"*\",2x,\"Este codigo nao existe!! Digite o codigo correto\",2x,\"*\"/54(\"*\"))");
          c.read(jcod);
        }
        mat(jcod, j) = Real(1.0);
        c.write("(1x,54(\"*\")/1x,\"*\",10x,\"Voce informou\",1x,A20,8x,\"*\"/1x,\"*\"10x,\"Esta correto? 0=Nao - 1=Sim\",15x,\"*\"/1x,54(\"*\"))", {nomstatus[jcod - 1]});
        c.read(inf);
        if (inf != 0) break;
        mat(jcod, j) = Real(0.0);
      }
    }

    // Counts per state, their geometric mean and D.
    g.d = coded_degree(mat, nusta, g.nuto).d;

    c.blank(2);
    result_box(c, g);

    // Another character?  Only the question is asked again after a wrong answer.
    c.blank(2);
    another_character_box(c);
    c.read(g.nova);
    while (g.nova != 0 && g.nova != 1) {
      another_character_box(c);
      c.read(g.nova);
    }
  } while (g.nova == 1);
}

}  // namespace amostra::taxonomy
