// Searches chi-square inputs whose stored results differ when the expressions
// are evaluated in double instead of extended.
//
//   g++ -O1 -ffp-contract=off -o chi_square_search tools/chi_square_search.cpp
//   nice ./chi_square_search pair TRIALS SEED      goodness-of-fit pairs (Fo, Fe)
//   nice ./chi_square_search table FO FE             2 x 2 tables around one pair
//
// x86 only: long double is the x87 80-bit format there, double is SSE2 (the
// values stay far inside double's exponent range, so SSE2 double gives what
// the x87 gives at 53 bits).
//
// Why a difference is possible in the goodness-of-fit term
//     dif = (fo - fe)*(fo - fe)/fe
// d = fo - fe is exact in both, but when fe is small beside the difference
// (fe in [1, 4) and fo about 40 here) d spans more than 26 bits: fe's unit is
// 2^-22 while d is about 2^5. Then d*d has more than 53 bits and is rounded
// in double (not in extended, below 64 bits), and the quotient by fe's 24-bit
// significand is no longer a ratio with a coarse grain: its exact value can
// lie within 2^-53 (relative) of a halfway point between singles, where the
// two evaluations round to different singles. About one random pair in 2^29
// does. `pair` draws fe in [1, 4) and a target dif in [400, 900), sets
// fo = fe + sqrt(dif*fe) rounded to a single, and prints every pair whose
// stored dif differs (fo, fe as exact hexadecimal floats, then both difs).
//
// `table` takes one such pair as the cell (1,1) of a 2 x 2 contingency table:
// for every y = fo(1,2) and z = fo(2,1) (multiples of 1/4 in [4, 20)) it picks
// the total so that the expected frequency fe(1,1) = somal(1)*somac(1)/somat
// comes out as exactly FE, and w = fo(2,2) to make that total; then it
// evaluates the whole statistic both ways (sums, expectations, and the
// accumulation qui = qui + (fo - fe)^2/fe cell by cell) and prints the tables
// whose F6.2 field of qui differs.
//
// Found: `pair 100000000 1` gives 1 pair (3 s), `pair 1000000000 2` gives 3
// (30 s), among them Fo = 0x1.0cd818p+5, Fe = 0x1.728ffcp+0 (dif 714.425232
// in extended, 714.425171 in double). `table 0x1.0cd818p+5 0x1.728ffcp+0`
// builds 3786 tables: the stored qui differs in all of them (the unit moved
// in cell (1,1) survives the later cells), and 14 print differently, among
// them y = 11, z = 6.5, w = 0x1.2830a4p+10 (766.04 against 766.03). Both
// sessions are derived exactly by tools/extended_chi_square.py.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

template <class T>
float dif(float fo, float fe) {
  T d = static_cast<T>(fo) - static_cast<T>(fe);
  return static_cast<float>(d * d / static_cast<T>(fe));
}

// The independence statistic of a 2 x 2 table, every stored value a single.
template <class T>
float qui2x2(const float fo[2][2]) {
  float somal[2], somac[2], somat = 0, fe[2][2], qui = 0;
  for (int i = 0; i < 2; ++i) {
    somal[i] = 0;
    for (int j = 0; j < 2; ++j) somal[i] = static_cast<float>(static_cast<T>(somal[i]) + static_cast<T>(fo[i][j]));
  }
  for (int j = 0; j < 2; ++j) {
    somac[j] = 0;
    for (int i = 0; i < 2; ++i) somac[j] = static_cast<float>(static_cast<T>(somac[j]) + static_cast<T>(fo[i][j]));
  }
  for (int j = 0; j < 2; ++j) somat = static_cast<float>(static_cast<T>(somat) + static_cast<T>(somac[j]));
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      fe[i][j] = static_cast<float>(static_cast<T>(somal[i]) * static_cast<T>(somac[j]) / static_cast<T>(somat));
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      T d = static_cast<T>(fo[i][j]) - static_cast<T>(fe[i][j]);
      qui = static_cast<float>(static_cast<T>(qui) + d * d / static_cast<T>(fe[i][j]));
    }
  return qui;
}

// F6.2 of a single: the exact value to two decimals, halves away from zero.
void f62(float v, char out[16]) {
  if (!(std::fabs(v) < 999.995f)) {
    std::strcpy(out, "******");
    return;
  }
  std::snprintf(out, 16, "%6.2f", static_cast<double>(v));  // exact binary value: no ties at .xx5
}

int pair_mode(long trials, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> target(400.0, 900.0);
  long found = 0;
  for (long t = 0; t < trials; ++t) {
    const unsigned long m = (1UL << 23) | (rng() & ((1UL << 23) - 1));
    const float fe = std::ldexp(static_cast<float>(m), -23 + static_cast<int>(rng() & 1));  // [1, 4)
    const float fo = static_cast<float>(fe + std::sqrt(target(rng) * fe));
    const float e = dif<long double>(fo, fe), d = dif<double>(fo, fe);
    if (e != d) {
      ++found;
      std::printf("fo=%a fe=%a  dif ext=%.9g (%a) dbl=%.9g (%a)\n", fo, fe, e, e, d, d);
    }
  }
  std::printf("%ld trials, %ld pairs differ\n", trials, found);
  return 0;
}

int table_mode(float fo11, float fe11) {
  long tables = 0, differ = 0, printed = 0;
  for (int qy = 16; qy < 80; ++qy)
    for (int qz = 16; qz < 80; ++qz) {
      const float y = static_cast<float>(qy) / 4, z = static_cast<float>(qz) / 4;
      const float r1 = static_cast<float>(static_cast<double>(fo11) + y);
      const float c1 = static_cast<float>(static_cast<double>(fo11) + z);
      // A grand total that gives fe11 exactly: the single nearest r1*c1/fe11 or a neighbour;
      // somac(2) = total - c1 and w = somac(2) - y, each checked to be what the program stores.
      const float s = static_cast<float>(static_cast<double>(r1) * c1 / fe11);
      for (int k = -4; k <= 4; ++k) {
        float total = s;
        for (int i = 0; i < (k < 0 ? -k : k); ++i) total = std::nextafter(total, k < 0 ? 0.0f : 1e30f);
        const float c2 = static_cast<float>(static_cast<double>(total) - c1);
        const float w = static_cast<float>(static_cast<double>(c2) - y);
        if (static_cast<float>(static_cast<double>(y) + w) != c2 ||
            static_cast<float>(static_cast<double>(c1) + c2) != total ||
            static_cast<float>(static_cast<double>(r1) * c1 / total) != fe11)
          continue;
        const float fo[2][2] = {{fo11, y}, {z, w}};
        ++tables;
        const float e = qui2x2<long double>(fo), d = qui2x2<double>(fo);
        if (e == d) break;
        ++differ;
        char fe_[16], fd_[16];
        f62(e, fe_);
        f62(d, fd_);
        if (std::strcmp(fe_, fd_) != 0) {
          ++printed;
          std::printf("table %a %g %g %a  qui ext=%s (%a) dbl=%s (%a)\n", fo11, y, z, w, fe_, e, fd_, d);
        }
        break;  // one table per (y, z)
      }
    }
  std::printf("%ld tables, %ld stored qui differ, %ld printed differ\n", tables, differ, printed);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "pair") == 0) return pair_mode(std::atol(argv[2]), std::atoi(argv[3]));
  if (argc == 4 && std::strcmp(argv[1], "table") == 0)
    return table_mode(std::strtof(argv[2], nullptr), std::strtof(argv[3], nullptr));
  std::fprintf(stderr, "usage: %s pair TRIALS SEED | table FO FE\n", argv[0]);
  return 2;
}
