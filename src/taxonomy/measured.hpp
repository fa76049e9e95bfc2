// Measured characters: a one-way analysis of variance over the species and
// Tukey's comparison of every pair of species means give the degree D.
#pragma once

#include <array>
#include <vector>

#include "taxonomy/common.hpp"

namespace amostra::taxonomy {

// Specimens measured per species.
constexpr int kSpecimens = 100;
// Pairs of species: every pair of a full group.
constexpr int kPairs = kSpecies * (kSpecies - 1) / 2;

// The working variables of one measured character.  The sums are gathered as
// the data are typed; `analyse` then makes the analysis of variance, the
// minimum significant difference, the pair comparisons and D.
struct TukeyComparison {
  int nuto = 0;  // species, N
  int nex = 0;   // specimens per species, n
  Real rnuto, rnex;
  int gltot = 0, glcol = 0, glres = 0;
  Real qtukey;  // tabulated q, typed by the user

  Real somat, soma2t, soma2c;
  std::array<Real, kSpecies> somac{}, mediacol{};
  Real fc, sqdtot, sqdcol, sqdres, varres, dpres, dms;
  int cont = 0;
  std::vector<Real> difmed = std::vector<Real>(kPairs);
  Real zsoma, num, den, d;

  // A new character: its sums start from zero.
  void start_character();
  // The degrees of freedom of N species of n specimens.
  void degrees_of_freedom(int species, int specimens);
  // Every species sum back to zero before the data.
  void clear_sums();
  // One measurement `x` of species `j`.
  void add(int j, Real x);
  // Means, analysis of variance, minimum significant difference, pairs and D.
  void analyse();
};

// The dialogue of measured characters, from the number of species to the
// answer 0 to "another character?".
void measured_characters(Console& c, const Text& bra, Group& g);

}  // namespace amostra::taxonomy
