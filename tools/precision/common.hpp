// Pieces shared by the standalone searches and checks in this directory.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <random>

namespace precision {

// Whether long double is wider than double here (the x87 format beside SSE2
// double).  A check comparing the two evaluations proves nothing otherwise,
// so each one refuses to run without it.
inline bool long_double_is_wider() {
  volatile long double one = 1, three = 3;
  if (static_cast<long double>(static_cast<double>(one / three)) != one / three) return true;
  std::printf("long double is no wider than double here: the check proves nothing\n");
  return false;
}

// The arguments of a random search, TRIALS SEED; false (after a usage line)
// when they are missing.
inline bool search_arguments(int argc, char** argv, long& trials, std::mt19937_64& g) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TRIALS SEED\n", argv[0]);
    return false;
  }
  trials = std::atol(argv[1]);
  g.seed(std::strtoull(argv[2], nullptr, 10));
  return true;
}

}  // namespace precision
