// Checks the degree D of menu code 17 for a difference between extended and
// double evaluation, where an exhaustive check is small enough.
//
//   g++ -O1 -ffp-contract=off -o taxonomy_precision_check tools/precision/taxonomy_precision_check.cpp
//   ./taxonomy_precision_check          (a few seconds)
//
// x86 only: long double is the x87 80-bit format there, double is SSE2.
// Both evaluations store D in a single; the check counts the cases where the
// stored singles differ. It finds none.
//
// 1. Measured characters: D = (1 - num/den) * 5 with num = 2z, den = (N-1)N,
//    for every number of species N from 1 to 100 and every count z of pairs
//    that do not differ (0 to N(N-1)/2). Fewer species than one leave no
//    pair, and D = 5 exactly.
// 2. Coded characters with no species (N <= 0 is accepted and no code is
//    read): every count is 0, so G is 0 (one state or more) or 1 (none), and
//    D = ((G*(-2)) + N)*5/(N-2) for every single N from -2^31 to 0.
//
// Not enumerated, argued instead: coded characters with 1 <= N <= 100. G is
// 0 or a single of at least 1, so N - 2G is a multiple of 2^-22 below 2^8 in
// size and (N - 2G)*5 is exact in 53 bits; the quotient A/(N-2) is then one
// rounding. A is a multiple of 2^-22 and N - 2 < 2^7, so for a halfway
// point h of singles either A/(N-2) = h or
//     |A/(N-2) - h| >= min(2^-22, ulp(h)/2) / (N-2),
// which is more than half a 53-bit unit of the quotient (|A| < 2^10): the
// quotient rounds to the same single through 53 or 64 bits. The
// product of the counts is a product of two singles (exact or correctly
// rounded through double), 1/nusta a quotient of two singles, and the power
// is the program's own double routine, independent of the x87 precision.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "common.hpp"

template <class T>
float measured_degree(int nuto, int z) {
  const float rnuto = static_cast<float>(nuto);
  const float zsoma = static_cast<float>(z);
  const float num = static_cast<float>(static_cast<T>(zsoma) + static_cast<T>(zsoma));
  const float den = static_cast<float>((static_cast<T>(rnuto) - T(1)) * static_cast<T>(rnuto));
  return static_cast<float>((T(1) - static_cast<T>(num) / static_cast<T>(den)) * T(5));
}

template <class T>
float coded_degree(float g, float rnuto) {
  return static_cast<float>(((static_cast<T>(g) * T(-2)) + static_cast<T>(rnuto)) * T(5) /
                            (static_cast<T>(rnuto) - T(2)));
}

bool same(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

int main() {
  if (!precision::long_double_is_wider()) return 1;
  long cases = 0, differ = 0;
  for (int nuto = 1; nuto <= 100; ++nuto)
    for (int z = 0; z <= nuto * (nuto - 1) / 2; ++z) {
      ++cases;
      if (!same(measured_degree<long double>(nuto, z), measured_degree<double>(nuto, z)) && ++differ <= 10)
        std::printf("measured: N=%d z=%d\n", nuto, z);
    }
  // Every single from -2^31 up to 0 (all are whole numbers from 2^24 on):
  // the integers below 2^24, then each binade up to 2^31 in its own steps.
  auto check_coded = [&](float rnuto) {
    for (float g : {0.0f, 1.0f}) {
      ++cases;
      if (!same(coded_degree<long double>(g, rnuto), coded_degree<double>(g, rnuto)) && ++differ <= 10)
        std::printf("coded: N=%.0f G=%g\n", rnuto, g);
    }
  };
  for (long n = 0; n < (1L << 24); ++n) check_coded(-static_cast<float>(n));
  for (int k = 24; k < 31; ++k)
    for (long n = 1L << k; n < (2L << k); n += 1L << (k - 23)) check_coded(-static_cast<float>(n));
  check_coded(-2147483648.0f);
  std::printf("%ld cases, %ld differ\n", cases, differ);
  return differ == 0 ? 0 : 1;
}
