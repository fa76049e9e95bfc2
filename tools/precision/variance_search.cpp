// Searches data whose sample variance, as the t tests store it, prints
// differently when the expression is evaluated in double instead of extended.
//
//   g++ -O1 -ffp-contract=off -o variance_search tools/precision/variance_search.cpp
//   ./variance_search TRIALS SEED
//
// x86 only: long double is the x87 80-bit format there, double is SSE2.
// The variance is evaluated as the program does, every sum stored in a single:
//   somax = somax + x;  soma2x = soma2x + x*x;   (per datum)
//   var = (soma2x - somax*somax/n) / (n - 1)
// With nearly constant large data (quarters, so reading is exact) the two
// terms cancel and the quotient's rounding (2^-53 relative in double against
// 2^-64 in extended) moves the stored single by a unit now and then. A case
// is printed when that unit straddles a second decimal and both values fit an
// F7.2 field (what the Student t prints for VARa/VARb). Each candidate must
// then be derived exactly (see tools/precision/extended_student_t.py) before it
// becomes a golden session.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "common.hpp"

template <class T>
float variance(const float* x, int n) {
  float s = 0, s2 = 0, rn = static_cast<float>(n);
  for (int i = 0; i < n; ++i) {
    s = static_cast<float>(static_cast<T>(s) + static_cast<T>(x[i]));
    s2 = static_cast<float>(static_cast<T>(s2) + static_cast<T>(x[i]) * static_cast<T>(x[i]));
  }
  return static_cast<float>((static_cast<T>(s2) - static_cast<T>(s) * static_cast<T>(s) / static_cast<T>(rn)) /
                            (static_cast<T>(rn) - 1));
}

int main(int argc, char** argv) {
  long trials = 0;
  std::mt19937_64 g;
  if (!precision::search_arguments(argc, argv, trials, g)) return 2;
  long stored = 0, printed = 0;
  float x[200];
  for (long t = 0; t < trials; ++t) {
    const int n = 2 + static_cast<int>(g() % 30);
    const double centre = std::floor(static_cast<double>(1 << (10 + g() % 10)) * (1 + (g() % 1000) / 1000.0));
    const long spread = 1 + static_cast<long>(g() % 2000);
    for (int i = 0; i < n; ++i)
      x[i] = static_cast<float>(centre + (static_cast<long>(g() % (2 * spread + 1)) - spread) / 4.0);
    const float a = variance<long double>(x, n), b = variance<double>(x, n);
    if (a == b) continue;
    ++stored;
    char pa[64], pb[64];
    std::snprintf(pa, sizeof pa, "%7.2f", a);
    std::snprintf(pb, sizeof pb, "%7.2f", b);
    if (std::strcmp(pa, pb) == 0 || std::strlen(pa) != 7 || std::strlen(pb) != 7) continue;
    ++printed;
    std::printf("n=%d extended %s double %s :", n, pa, pb);
    for (int i = 0; i < n; ++i) std::printf(" %.2f", x[i]);
    std::printf("\n");
  }
  std::fprintf(stderr, "stored single differs %ld, printed F7.2 differs %ld, of %ld\n", stored, printed, trials);
  return 0;
}
