// Coded characters: each species gets the code of one state, and the way the
// species spread over the states gives the degree D.
#pragma once

#include <vector>

#include "taxonomy/common.hpp"

namespace amostra::taxonomy {

// States of one character (names, counts and rows of the marks).
constexpr int kStates = 100;

// The state marks of one character: mat(k, j) = 1.0 when species j received
// code k, else 0.0.  Indices run from 1, as the codes do.
class Marks {
 public:
  Marks() : cells_(kStates * kSpecies) {}
  Real& operator()(int k, int j) { return cells_[index(k, j)]; }
  Real operator()(int k, int j) const { return cells_[index(k, j)]; }
  void clear();

 private:
  static std::size_t index(int k, int j);
  std::vector<Real> cells_;
};

// The quantities computed from the marks of one character.
struct CodedDegree {
  Real prod;  // product of the counts per state
  Real g;     // their geometric mean G
  Real d;     // D = 5 (N - 2G) / (N - 2)
};

// Counts the species of each of the `nusta` states over `nuto` species, and
// makes G and D of them.
CodedDegree coded_degree(const Marks& mat, int nusta, int nuto);

// The dialogue of coded characters, from the number of species to the answer
// 0 to "another character?".
void coded_characters(Console& c, Group& g);

}  // namespace amostra::taxonomy
