#include "taxonomy/measured.hpp"

#include "console/dialogue.hpp"

namespace amostra::taxonomy {

void TukeyComparison::start_character() {
  somat = Real(0.0);
  soma2t = Real(0.0);
  soma2c = Real(0.0);
}

void TukeyComparison::degrees_of_freedom(int species, int specimens) {
  nuto = species;
  nex = specimens;
  rnex = nex;
  rnuto = nuto;
  gltot = trunc_int(rnuto * rnex - Real(1.0));
  glcol = trunc_int(rnuto - Real(1.0));
  glres = gltot - glcol;
}

void TukeyComparison::clear_sums() {
  for (int j = 1; j <= nuto; ++j) somac[j - 1] = Real(0.0);
  somat = Real(0.0);
  soma2t = Real(0.0);
}

void TukeyComparison::add(int j, Real x) {
  somat = somat + x;
  soma2t = soma2t + x * x;
  somac[j - 1] = somac[j - 1] + x;
}

void TukeyComparison::analyse() {
  // Species means.
  for (int j = 1; j <= nuto; ++j) mediacol[j - 1] = somac[j - 1] / rnex;

  // Analysis of variance; the number of measurements is an integer product.
  fc = (somat * somat) / Ext(nuto * nex);
  sqdtot = soma2t - fc;
  for (int j = 1; j <= nuto; ++j) soma2c = (somac[j - 1] * somac[j - 1]) / rnex + soma2c;
  sqdcol = soma2c - fc;
  sqdres = sqdtot - sqdcol;
  varres = sqdres / Ext(glres);
  dpres = sqrt(varres);

  // Tukey's minimum significant difference, the root of n stored first.
  Real s = sqrt(rnex);
  dms = (qtukey * dpres) / s;

  // Every pair (j, jk) with j < jk, in the order (1,2), (1,3), ..., (N-1,N).
  cont = 0;
  zsoma = Real(0.0);
  for (int j = 1; j <= nuto - 1; ++j) {
    for (int k = 1; k <= nuto; ++k) {
      int jk = j + k;
      if (jk > nuto) break;
      cont = cont + 1;
      difmed[cont - 1] = abs(mediacol[j - 1] - mediacol[jk - 1]);
    }
  }

  // Pairs that do not differ: a difference equal to dms does not.
  for (int p = 1; p <= cont; ++p)
    if (difmed[p - 1] <= dms) zsoma = zsoma + Real(1.0);

  // D = 5 (1 - z / P), P = N (N - 1) / 2 pairs.
  num = zsoma + zsoma;
  den = (rnuto - Real(1.0)) * rnuto;
  d = (Real(1.0) - num / den) * Real(5.0);
}

void measured_characters(Console& c, const Text& bra, Group& g) {
  // Number of species, from the first three columns of its line.
  read_count(
      c, g.nuto, kSpecies,
      [&] { c.write("(1x,54(\"*\")/1x,\"*\",4x,\"Quantas especies integram o grupo analisado?\", 4x, \"*\"/ A1,54(\"*\"))", {bra}); },
      CountRead::I3);
  c.blank();

  // Species names, typed once for every character.
  for (int j = 1; j <= g.nuto; ++j) {
    species_name_box(c, j);
    c.read(g.nomuto[j - 1]);
    c.blank();
  }
  c.blank();

  // The measurements of the current character; a value read as null keeps
  // what the same cell held.
  std::vector<Real> dadox(static_cast<std::size_t>(kSpecimens) * kSpecies);
  auto x = [&](int i, int j) -> Real& { return dadox[static_cast<std::size_t>(j - 1) * kSpecimens + (i - 1)]; };
  TukeyComparison t;
  int nex = 0;
  do {
    // Character (same species).
    character_name_box(c);
    c.read(g.nomcarac);
    c.blank();
    t.start_character();

    // Specimens per species, again from three columns.
    read_count(
        c, nex, kSpecimens,
        [&] { c.write("(1x,54(\"*\")/1x,\"*\",3x,\"Quantos exemplares de cada espécie analisada? \", 3x, \"*\"/A1,54(\"*\"))", {bra}); },
        CountRead::I3);
    t.degrees_of_freedom(g.nuto, nex);

    // Tukey's q for N treatments and the residual degrees of freedom.
    c.blank();
    c.write("(1x,54(\"*\")/1x,\"*\",1x,\"Informar o valor tabelar de 'q' \",\" do Teste de Tukey\",1x,\"*\"/1x,\"*\",1x,\"Tratamentos =\", I3,7x,\"-\",8x,\"G.L.residual =\",I4,1x,\"*\"/1x,54(\"*\"))", {g.nuto, t.glres});
    c.read(t.qtukey);
    t.clear_sums();

    // Data, species by species and specimen by specimen.
    c.blank(2);
    c.write("(1x,54(\"*\")/1x,\"*\", 10x,\"DIGITAR OS DADOS DAS \",I3,1x, \"AMOSTRAS\",9x,\"*\"/1x,54(\"*\"))", {g.nuto});
    c.blank(2);
    for (int j = 1; j <= g.nuto; ++j) {
      for (int i = 1; i <= nex; ++i) {
        c.write("(1x,54(\"*\")/1x,\"*\",\"Digitar exemplar \",I2,\" da especie \",A20,1x,\"*\"/1x,54(\"*\"))", {i, g.nomuto[j - 1]});
        c.read(x(i, j));
        t.add(j, x(i, j));
        c.blank();
      }
    }

    t.analyse();
    g.d = t.d;

    // Result.
    c.blank();
    c.write("(1x,54(\"*\")/1x,(\"*\"),3x,\"Caracter analisado:\",1x,A20,1x   ,8x,(\"*\")/1x,54(\"*\"))", {g.nomcarac});
    c.blank();
    result_box(c, g);

    // Another character?  A wrong answer repeats the closing row as well.
    for (;;) {
      c.blank(2);
      another_character_box(c);
      c.read(g.nova);
      if (g.nova == 0 || g.nova == 1) break;
      closing_row(c);
    }
  } while (g.nova == 1);
}

}  // namespace amostra::taxonomy
