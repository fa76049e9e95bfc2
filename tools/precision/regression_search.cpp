// Searches pairs for which the straight-line fit of the linear regression
// application prints differently when its expressions are evaluated in double
// instead of extended.
//
//   g++ -O1 -ffp-contract=off -o regression_search tools/precision/regression_search.cpp
//   ./regression_search TRIALS SEED
//
// x86 only: long double is the x87 80-bit format there, double is SSE2.
// Every statement is evaluated as the program does, each result stored in a
// single. With nearly constant large X (quarters, so reading is exact)
//   varx = ssx2 - ssx*ssx/n      covxy = ssxy - ssx*ssy/n
// cancel, and the quotient's rounding (2^-53 relative in double, 2^-64 in
// extended) moves the stored single now and then; b = covxy/varx and the
// fields after it then change. A case is printed when a printed field (F6.2
// r, r2, a, b; F7.2 error) differs, not-a-numbers left out.
// Each candidate must be derived exactly (tools/precision/extended_regression.py)
// before it becomes a golden session.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "common.hpp"

// Fw.2 as the program prints it: asterisks when the value does not fit.
std::string field(float v, int w) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.2f", w, v);
  return static_cast<int>(std::strlen(buf)) > w ? std::string(w, '*') : std::string(buf);
}

template <class T>
std::string fit(const float* x, const float* y, int n) {
  float ssx = 0, ssy = 0, ssxy = 0, ssx2 = 0, ssy2 = 0;
  for (int j = 0; j < n; ++j) {
    ssx = static_cast<float>(static_cast<T>(ssx) + x[j]);
    ssy = static_cast<float>(static_cast<T>(ssy) + y[j]);
    ssxy = static_cast<float>(static_cast<T>(ssxy) + static_cast<T>(x[j]) * y[j]);
    ssx2 = static_cast<float>(static_cast<T>(ssx2) + static_cast<T>(x[j]) * x[j]);
    ssy2 = static_cast<float>(static_cast<T>(ssy2) + static_cast<T>(y[j]) * y[j]);
  }
  const T tn = n;
  const float covxy = static_cast<float>(ssxy - static_cast<T>(ssx) * ssy / tn);
  const float varx = static_cast<float>(ssx2 - static_cast<T>(ssx) * ssx / tn);
  const float vary = static_cast<float>(ssy2 - static_cast<T>(ssy) * ssy / tn);
  const float r = static_cast<float>(covxy / std::sqrt(static_cast<T>(varx) * vary));
  const float r2 = static_cast<float>(static_cast<T>(r) * r);
  const float b = static_cast<float>(static_cast<T>(covxy) / varx);
  const float a = static_cast<float>(static_cast<T>(ssy) / tn - static_cast<T>(ssx) / tn * b);
  float somer = 0;
  for (int j = 0; j < n; ++j) {
    const T d = static_cast<T>(y[j]) - (static_cast<T>(x[j]) * b + a);
    somer = static_cast<float>(somer + d * d);
  }
  const float erro = static_cast<float>(std::sqrt(static_cast<T>(somer) / static_cast<T>(n - 2)));
  return field(r, 6) + "|" + field(r2, 6) + "|" + field(a, 6) + "|" + field(b, 6) + "|" + field(erro, 7);
}

int main(int argc, char** argv) {
  long trials = 0;
  std::mt19937_64 g;
  if (!precision::search_arguments(argc, argv, trials, g)) return 2;
  long printed = 0;
  float x[200], y[200];
  for (long t = 0; t < trials; ++t) {
    const int n = 3 + static_cast<int>(g() % 20);
    const double centre = std::floor(static_cast<double>(1 << (10 + g() % 10)) * (1 + (g() % 1000) / 1000.0));
    const long spread = 1 + static_cast<long>(g() % 400);
    const long yspread = 1 + static_cast<long>(g() % 2000);
    for (int i = 0; i < n; ++i) {
      x[i] = static_cast<float>(centre + (static_cast<long>(g() % (2 * spread + 1)) - spread) / 4.0);
      y[i] = static_cast<float>((static_cast<long>(g() % (2 * yspread + 1)) - yspread) / 4.0);
    }
    const std::string e = fit<long double>(x, y, n), d = fit<double>(x, y, n);
    if (e == d || e.find("nan") != std::string::npos || d.find("nan") != std::string::npos) continue;
    ++printed;
    std::printf("n=%d extended %s double %s :", n, e.c_str(), d.c_str());
    for (int i = 0; i < n; ++i) std::printf(" %.2f %.2f", x[i], y[i]);
    std::printf("\n");
  }
  std::fprintf(stderr, "printed fields differ %ld of %ld\n", printed, trials);
  return 0;
}
