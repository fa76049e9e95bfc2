// What the two kinds of taxonomic character share: the species of the group,
// the verdict scale of the degree D and the boxes both branches show.
#pragma once

#include <array>
#include <vector>

#include "console/console.hpp"
#include "core/arith.hpp"

namespace amostra::taxonomy {

// Species of a group (the names table and every per-species array).
constexpr int kSpecies = 100;

// The working variables both branches keep for the whole application.  A
// read that receives a null value leaves its variable as it was, so these
// live as long as the application does.
struct Group {
  Group();

  std::array<Text, 5> graud;  // the verdict texts of the five steps
  int nuto = 0;               // number of species, N
  std::vector<Text> nomuto;   // nomuto[j - 1] = name of species j
  Text nomcarac{20};          // the character analysed
  Real d;                     // degree of discrimination / aggregation
  int nova = 0;               // answer to "another character?"
};

// The step of the verdict scale that `d` falls in, 1 to 5, or 0 when `d` is
// below 0, above 5 or not a number.  Each step includes its upper bound; the
// first also includes 0.
int verdict_step(Real d);

// The result box: D, an empty record, the verdict (if any) and the closing row.
void result_box(Console& c, const Group& g);
// The closing row of the result box.
void closing_row(Console& c);

// The boxes that read the same thing in both branches.
void species_name_box(Console& c, int j);
void character_name_box(Console& c);
void another_character_box(Console& c);

}  // namespace amostra::taxonomy
