// Checks every count the runs test can meet for a difference between
// extended and double evaluation of its statistics.
//
//   g++ -O1 -ffp-contract=off -o runs_precision_check tools/precision/runs_precision_check.cpp
//   ./runs_precision_check
//
// (The test suite builds and runs it as the CTest runs_precision_check.)
//
// x86 only: long double is the x87 80-bit format there, double is SSE2.
// For every n1, n2 with 20 <= n1 + n2 <= 200 and every number of runs R it
// evaluates MR, the variance of R, SR and |Z| as the program does (integer
// numerators and denominators, real quotients, each result stored in a
// single) both ways and counts the stored singles that differ. It finds
// none: a quotient of two integers whose denominator is below 2^23 lies
// about 2^-48 (relative) or more away from any halfway point between singles
// unless exactly on it, so rounding first to 53 bits cannot change the single; the square root and
// the quotient of two singles round correctly through double anyway.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common.hpp"

template <class T>
void statistics(int n1, int n2, int r, float out[4]) {
  out[0] = static_cast<float>(static_cast<T>(2 * n1 * n2) / static_cast<T>(n1 + n2) + 1);
  out[1] = static_cast<float>(static_cast<T>(2 * n1 * n2 * (2 * n1 * n2 - n1 - n2)) /
                              static_cast<T>((n1 + n2) * (n1 + n2) * (n1 + n2 - 1)));
  out[2] = static_cast<float>(std::sqrt(static_cast<T>(out[1])));
  out[3] = std::fabs(static_cast<float>((static_cast<T>(static_cast<float>(r)) - out[0]) / static_cast<T>(out[2])));
}

int main() {
  if (!precision::long_double_is_wider()) return 1;
  long cases = 0, differ = 0;
  for (int n1 = 0; n1 <= 200; ++n1)
    for (int n2 = 0; n1 + n2 <= 200; ++n2) {
      if (n1 + n2 < 20) continue;
      for (int r = 1; r <= n1 + n2; ++r) {
        float e[4], d[4];
        statistics<long double>(n1, n2, r, e);
        statistics<double>(n1, n2, r, d);
        ++cases;
        if (std::memcmp(e, d, sizeof e) != 0) {
          if (++differ <= 10) std::printf("n1=%d n2=%d R=%d\n", n1, n2, r);
        }
      }
    }
  std::printf("%ld cases, %ld differ\n", cases, differ);
  return differ != 0;
}
