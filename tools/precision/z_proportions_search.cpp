// Searches one-sample inputs of the Z test for proportions whose verdict or
// printed Z changes when the expression is evaluated in double instead of
// extended.
//
//   g++ -O2 -ffp-contract=off -o z_proportions_search tools/precision/z_proportions_search.cpp
//   nice ./z_proportions_search NMIN NMAX PPSTEPS
//
// x86 only: long double is the x87 80-bit format there, double is SSE2 (each
// operation rounded to 53 bits, as the x87 does at precision 53).
//
// The program evaluates z = (p - pp) / sqrt(((1 - pp)*pp) / rn1) and stores
// it in a single, then compares |z| with the single 1.96.  1 - pp, the
// product and p - pp are exact in both precisions; the quotient by rn1, the
// square root and the last division are rounded, at 2^-64 or 2^-53.  Just
// above 1.96 (single 16441672 * 2^-23, even significand) lies the halfway
// point h = 32883345 * 2^-24.  If the evaluated z lies just above h (within
// about 2^-54 relative, or exactly on h with the program's own roundings
// pushing it off), extended can keep it above h (the single above 1.96:
// rejected) while double rounds it onto h and the tie goes to the even single
// 1.96 (accepted).  The search does not wait for chance: for every population
// proportion pp = k/PPSTEPS and every size rn1 in [NMIN, NMAX] it solves
// |p - pp| * sqrt(rn1/((1-pp)*pp)) = h for p and tries the singles next to
// the solution, so each try has a chance of about 2^-30.
//
// Found (NMIN 20, NMAX 20000, PPSTEPS 1000: 198,844,303 tries, 2 s): eight
// inputs, all printing Z = 1.96 with "Rejeitamos_Ho" in extended and
// "Aceitamos_Ho" in double, e.g. pp = 0.5, p = 0.43466666, rn1 = 225 (kept as
// the golden session extended_z_proportions, derived by
// tools/precision/extended_z_proportions.py), pp = 0.25, p = 0.21733333, rn1 = 675 and
// pp = 0.5, p = 0.47030303, rn1 = 1089.  In every one rn1 / ((1-pp)*pp) is a
// square and the exact Z is the halfway point itself: the program's own
// roundings decide the side, and extended and double round differently.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

template <class T>
float z_one_sample(float pp, float p, float rn1) {
  const T b = (static_cast<T>(1) - pp) * static_cast<T>(pp);
  const float z = static_cast<float>((static_cast<T>(p) - pp) / std::sqrt(b / rn1));
  return std::fabs(z);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s NMIN NMAX PPSTEPS\n", argv[0]);
    return 2;
  }
  const int nmin = std::atoi(argv[1]), nmax = std::atoi(argv[2]), steps = std::atoi(argv[3]);
  const float critical = 1.96f;
  const double h = 32883345.0 / 16777216.0;
  long tries = 0, found = 0;
  for (int k = 1; k < steps; ++k) {
    const float pp = static_cast<float>(static_cast<double>(k) / steps);
    const double b = (1.0 - static_cast<double>(pp)) * pp;
    for (int n = nmin; n <= nmax; ++n) {
      const float rn1 = static_cast<float>(n);
      const double d = h * std::sqrt(b / n);
      for (int sign = -1; sign <= 1; sign += 2) {
        const float p0 = static_cast<float>(pp + sign * d);
        float p = std::nextafter(std::nextafter(p0, -1.0f), -1.0f);
        for (int j = 0; j < 5; ++j, p = std::nextafter(p, 2.0f)) {
          // The program's sufficiency rule (the products are exact in both).
          if (static_cast<double>(p) * rn1 < 5 || static_cast<double>(rn1) * (1.0 - static_cast<double>(p)) < 5) continue;
          ++tries;
          const float ze = z_one_sample<long double>(pp, p, rn1);
          const float zd = z_one_sample<double>(pp, p, rn1);
          if (ze == zd) continue;
          const bool ve = ze <= critical, vd = zd <= critical;
          char a[32], c[32];
          std::snprintf(a, sizeof a, "%5.2f", ze);
          std::snprintf(c, sizeof c, "%5.2f", zd);
          if (ve == vd && std::string_view(a) == c) continue;
          ++found;
          // The shortest decimal that reads back as this single.
          int digits = 1;
          char typed[32];
          for (;; ++digits) {
            std::snprintf(typed, sizeof typed, "%.*g", digits, p);
            if (std::strtof(typed, nullptr) == p) break;
          }
          std::printf("digits=%d pp=%d/%d=%.9g p=%s (%a) n=%d  extended %s %s  double %s %s\n", digits, k, steps, pp, typed, p, n, a,
                      ve ? "Aceitamos" : "Rejeitamos", c, vd ? "Aceitamos" : "Rejeitamos");
        }
      }
    }
  }
  std::fprintf(stderr, "%ld tries, %ld printed differences\n", tries, found);
  return 0;
}
