// Searches chi-square inputs whose printed statistic differs when the
// expressions are evaluated in double instead of extended.
//
//   g++ -O2 -ffp-contract=off -o chi_square_search tools/precision/chi_square_search.cpp
//   nice ./chi_square_search pairs FO_MIN FO_MAX    integer Fo, every single Fe in [1, 4)
//   nice ./chi_square_search tables FO FE NMAX      integer 2 x 2 tables with that cell (1,1)
//   nice ./chi_square_search second FO FE           short second pairs for a goodness of fit
//
// x86-64 only: long double is the x87 80-bit format there, double is SSE2
// (the values stay far inside double's exponent range, so SSE2 double gives
// what the x87 gives at 53 bits).
//
// Why a difference is possible in the goodness-of-fit term
//     dif = (fo - fe)*(fo - fe)/fe
// d = fo - fe is exact in both, but when fe is small beside the difference
// (fe in [1, 4), unit 2^-23 or 2^-22, and fo about 30) d spans more than 26
// bits. Then d*d has more than 53 bits and is rounded in double (not in
// extended, below 64 bits), and the quotient by fe's 24-bit significand has
// no coarse grain any more: its exact value can lie within 2^-53 (relative)
// of a halfway point between singles, where the two evaluations round to
// different singles. `pairs` tries every integer Fo in the range against
// every single Fe in [1, 4) and prints the pairs whose stored dif (below
// 1000) differs.
//
// In the test of independence the expected frequency of a cell is
// somal(i)*somac(j)/somat, and the statistic accumulates
//     qui = qui + (fo - fe)*(fo - fe)/fe
// cell by cell, cell (1,1) first: with fo(1,1) = Fo and fe(1,1) = Fe of such
// a pair, qui is one unit apart after the first cell. `tables` finds integer
// 2 x 2 tables with that cell: for every grand total N up to NMAX, every
// product p = somal(1)*somac(1) with p/N rounding to Fe, and every way of
// writing p as R1*C1 with both at least Fo, the table
//     Fo, R1 - Fo / C1 - Fo, N - R1 - C1 + Fo
// is evaluated both ways (sums, expectations, the accumulation); those whose
// F6.2 field of qui differs are printed. The unit usually survives the three
// later cells; it shows in the second decimal about once in 300 tables.
//
// A goodness of fit with the pair alone prints the same (both singles round
// to the same second decimal); `second` tries short second pairs (Fo an
// integer 1..60, Fe with one decimal, 0.1..60) whose dif, the same in both
// evaluations, moves the sum across a second-decimal boundary.
//
// Found: `pairs 12 60` (13 s) gives Fo = 22, 31, 41, 44 with
// Fe = 0x1.0bfc7ep+0, 0x1.541d42p+1, 0x1.612682p+1, 0x1.0bfc7ep+1; the second,
// 2.6571429 typed (93/35 = 2.657142857...), makes dif 302.323822 in
// extended and 302.323792 in double. `tables 31 0x1.541d42p+1 200000` finds
// 102249 tables (all with a stored difference), 368 printed, the smallest
// being 31, 26 / 31, 1242 (N = 1330, 57*62/1330 = 93/35): 331.31 against
// 331.30. `second 31 0x1.541d42p+1`: see tools/precision/extended_chi_square.py for the
// pair chosen. Both sessions are derived exactly by that script.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

template <class T>
float dif(float fo, float fe) {
  const T d = static_cast<T>(fo) - static_cast<T>(fe);
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
      const T d = static_cast<T>(fo[i][j]) - static_cast<T>(fe[i][j]);
      qui = static_cast<float>(static_cast<T>(qui) + d * d / static_cast<T>(fe[i][j]));
    }
  return qui;
}

// Whether two singles print differently in F6.2 (both must fit: below 999.995).
// The exact binary value is rounded; no single lies on a .xx5 boundary.
bool f62_differ(float a, float b, char ta[16], char tb[16]) {
  std::snprintf(ta, 16, "%6.2f", static_cast<double>(a));
  std::snprintf(tb, 16, "%6.2f", static_cast<double>(b));
  return std::fabs(a) < 999.995f && std::fabs(b) < 999.995f && std::strcmp(ta, tb) != 0;
}

int pairs_mode(int lo, int hi) {
  long found = 0;
  for (int fo = lo; fo <= hi; ++fo)
    for (float fe = 1.0f; fe < 4.0f; fe = std::nextafter(fe, 8.0f)) {
      const float e = dif<long double>(static_cast<float>(fo), fe);
      const float d = dif<double>(static_cast<float>(fo), fe);
      if (e != d && e < 1000) {
        ++found;
        std::printf("fo=%d fe=%a (%.9g)  dif ext=%.9g (%a) dbl=%.9g (%a)\n", fo, fe, fe, e, e, d, d);
      }
    }
  std::printf("%ld pairs differ\n", found);
  return 0;
}

int tables_mode(int fo11, float fe11, long nmax) {
  long tables = 0, differ = 0, printed = 0;
  for (long n = 2; n <= nmax; ++n) {
    const long p0 = std::lround(static_cast<double>(fe11) * n);
    for (long p = p0 - 2; p <= p0 + 2; ++p) {
      // p/n as the program stores it: a quotient of integers below 2^24, correctly rounded
      // through double (it is at least 2^-48 away from a halfway point unless on it).
      if (p <= 0 || static_cast<float>(static_cast<double>(p) / n) != fe11) continue;
      for (long r1 = fo11; r1 <= p / fo11; ++r1) {
        if (p % r1 != 0) continue;
        const long c1 = p / r1, y = r1 - fo11, z = c1 - fo11, w = n - r1 - z;
        if (w < 0) continue;
        const float fo[2][2] = {{static_cast<float>(fo11), static_cast<float>(y)},
                                {static_cast<float>(z), static_cast<float>(w)}};
        ++tables;
        const float e = qui2x2<long double>(fo), d = qui2x2<double>(fo);
        if (e == d) continue;
        ++differ;
        char te[16], td[16];
        if (f62_differ(e, d, te, td)) {
          ++printed;
          std::printf("table %d %ld / %ld %ld  (N = %ld)  qui ext=%s dbl=%s\n", fo11, y, z, w, n, te, td);
        }
      }
    }
  }
  std::printf("%ld tables, %ld stored qui differ, %ld printed differ\n", tables, differ, printed);
  return 0;
}

int second_mode(int fo1, float fe1) {
  const float xe = dif<long double>(static_cast<float>(fo1), fe1), xd = dif<double>(static_cast<float>(fo1), fe1);
  long found = 0;
  for (int fo = 1; fo <= 60; ++fo)
    for (int k = 1; k <= 600; ++k) {
      const float fe = static_cast<float>(k / 10.0);  // what typing k/10 gives
      const float ye = dif<long double>(static_cast<float>(fo), fe), yd = dif<double>(static_cast<float>(fo), fe);
      if (ye != yd) continue;  // the second pair itself must not differ
      const float se = static_cast<float>(static_cast<long double>(xe) + ye);
      const float sd = static_cast<float>(static_cast<long double>(xd) + yd);
      char te[16], td[16];
      if (f62_differ(se, sd, te, td)) {
        ++found;
        std::printf("second pair %d %.1f  qui ext=%s dbl=%s\n", fo, k / 10.0, te, td);
      }
    }
  std::printf("%ld second pairs\n", found);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "pairs") == 0) return pairs_mode(std::atoi(argv[2]), std::atoi(argv[3]));
  if (argc == 5 && std::strcmp(argv[1], "tables") == 0)
    return tables_mode(std::atoi(argv[2]), std::strtof(argv[3], nullptr), std::atol(argv[4]));
  if (argc == 4 && std::strcmp(argv[1], "second") == 0)
    return second_mode(std::atoi(argv[2]), std::strtof(argv[3], nullptr));
  std::fprintf(stderr, "usage: %s pairs FO_MIN FO_MAX | tables FO FE NMAX | second FO FE\n", argv[0]);
  return 2;
}
