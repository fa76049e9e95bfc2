// Checks whether the signed-rank test (menu code 12) and the Mann-Whitney
// test (menu code 13) can print anything different when their expressions
// are evaluated in double instead of extended precision.
//
//   g++ -O2 -ffp-contract=off -o rank_tests_precision_check tools/precision/rank_tests_precision_check.cpp
//   nice ./rank_tests_precision_check          # all parts, about 70 s of CPU
//   ./rank_tests_precision_check quick         # parts 1, 2 and 4 only, about 5 s
//   ./rank_tests_precision_check part3 21 40   # part 3 for nx = 21..40 only
//
// x86 only: long double is the x87 80-bit format there (64-bit significand),
// double is SSE2 (53 bits).  Each function below evaluates the application's
// statements in the same order as the program, with every operation in T and
// every stored real rounded to float; the two evaluations are compared stored
// single by stored single (bit patterns), and the printed Fw.d field too.
// Exit status 1 if a printed field differs (or, in parts 1, 2 and 4, any
// stored single), 77 if long double is not the 64-bit-significand format.
// The program's own test at 53 bits sets the x87 precision control instead of
// using SSE2 double: the roundings are the same, only the exponent range is
// wider, and every nonzero magnitude here lies between 2^-40 and 2^71 (or is
// an infinity or not a number), far from overflow and underflow.
//
// What can depend on the precision, and why only these expressions are run:
//
//  * Reading and printing are done in integer arithmetic by the program and
//    do not depend on it.  Sorting and the tie test compare stored singles
//    exactly.  A difference of a pair (xa - xd) is one operation on two
//    singles: its exact result rounded to 53 bits and then to 24 is the exact
//    result rounded to 24, since 53 >= 2*24 + 2 (the same holds for one sum,
//    product, quotient or square root of singles), so the stored difference
//    is the same both ways.
//  * Ranks are positions (integers up to 200); a tie's rank is a sum of
//    consecutive positions (an integer below 2^15) divided by the run length,
//    a whole or half number: exact both ways.  The rank sums of both tests
//    add half-integers up to 200*201/2 = 20100: exact both ways.  So every
//    value that enters the statistics below is the same both ways, and the
//    checks take every rank sum the counts allow (every half-integer from 0
//    to n(n+1)/2), not only those that data can reach.
//
// Part 1, signed-rank test: every count k1 = 26..200 of non-zero
//   differences (k1 <= 25 prints |T| only, a stored half-integer) and every
//   T = 0, 0.5, ..., k1(k1+1)/2: numt, dent, testez.  (The pair count is
//   refused above 200; a count of 0 or below gives k1 = 0.)  This part only
//   confirms what can be shown directly: numt = T - k1(k1+1)/4 is exact;
//   dent's argument k1(k1+1)(2k1+1)/24 is an integer over 4 below 2^20, a
//   single, so its root is rounded correctly through double; testez is one
//   quotient of two singles.
//
// Part 2, Mann-Whitney with sizes nx, ny >= 0, nx + ny <= 200 (what the
//   dialogue accepts with data): every such pair and every half-integer R1
//   from 0 to n(n+1)/2 (in quick mode, from nx(nx+1)/2 to that plus nx*ny,
//   the sums ranks can give): u1, u2, u, numt, dent, z.  Here u1, u2 and numt are
//   exact both ways (halves below 2^16); dent's argument nx*ny*(n+1)/12 is a
//   quotient rounded to 64 or to 53 bits before the root, which is what this
//   part really checks.
//
// The sizes are also accepted when negative (nothing is read for such a
// sample, and R1 is then 0, or n(n+1)/2 for 0 < n = nx + ny < nx).  Their
// real values (rnx, rny) can then be as large as 2^31 and some products no
// longer fit in 53 bits:
//
// Part 3, nx = a in 21..200 (the large-sample branch), ny = -b with b up to
//   2^31: rny = -B, B = b rounded to a single; every single B in [1, 2^31].
//   u1's terms are integers below 2^40, u2 = rnx*rny - u1 and
//   numt = u + rnx*rny/(-2) are integers or halves below 2^40: all exact both
//   ways.  Only dent's product rnx*rny*(rnx+rny+1) (up to 2^70) is rounded,
//   and differently.  The loop computes dent's square root in double
//   (exactly the double evaluation) and evaluates both ways in full only
//   where it lies within 2^-44 (relative) of a halfway point between singles;
//   the double result is within 2^-51 of the exact root and the extended one
//   closer still, so elsewhere both round to the same single.  With a <= 20
//   (small-sample branch) only u is printed, exact as above.
//
// Part 4, nx <= 0 (R1 = 0, rnx = -A): the large-sample branch needs
//   ny = C in 21..200; every A = 0..2^16 with every such C is evaluated in
//   full, and C = -200..20 (small-sample branch) too.  For A > 2^16 the exact
//   z is sqrt(3A(A-C-1)/C) > 8000 and both evaluations are within a relative
//   2^-20 of it: the F6.2 field holds asterisks either way.  In the
//   small-sample branch (C <= 20, down to -2^31) u1 = A(A-1)/2 - AC and
//   u2 = -AC - u1 are evaluated exactly both ways unless A > 2^26 or a sum
//   reaches 2^53; that needs A > 2^21, and then u >= A(A-1)/2 - |u1|*2^-23
//   > 2^40: asterisks either way.  So parts 1-4 cover every printed field.
//
// Result (2026-12-07):
//   part 1:     2,701,125 cases, no stored single differs;
//   part 2:   409,423,801 cases, no stored single differs (quick mode:
//             134,683,601 of them);
//   part 4:    26,280,137 cases, no stored single differs;
//   part 3: 180 sizes nx times 75,497,472 singles B (13,589,544,960 cases),
//     59,322 of them near a halfway point and evaluated in full: dent differs
//     in 8 (nx = 53, 90, 121, 130, 138, 163, 165, 188; for example nx = 53,
//     ny = -55300828: dent 116219432 against 116219424, z 12.6095381 against
//     12.6095390), and z moves by one unit with it, but |z| prints the same
//     F6.2 field in every case (12.61 in the example; the program, run on
//     that session at x87 precision 64 and 53, prints "Zc=  12.61" both
//     times).
// So neither application can print differently in double evaluation: no
// golden session can tell the two apart for them.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Set when a printed field differs, or (parts 1, 2 and 4) any stored single.
bool failed = false;

bool same(float a, float b) {
  if (std::isnan(a) && std::isnan(b)) return true;  // both print as not-a-number
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Fw.2 field contents of |v|: v*100 rounded half away from zero (exact in
// long double: a single times 100 has at most 31 significant bits).
long double hundredths(float v) {
  long double h = std::fabs(static_cast<long double>(v)) * 100;
  return std::floor(h + 0.5L);
}

// F6.2 shows the number only below 999.995; the same field either way if
// both overflow it or both round to the same hundredths.
bool same_field(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  long double ha = hundredths(a), hb = hundredths(b);
  if (ha >= 100000 && hb >= 100000) return true;
  return ha == hb;
}

// Signed-rank test, large samples: numt, dent, testez.
template <class T>
void wilcoxon(int k1, float t, float out[3]) {
  const float rk1 = static_cast<float>(k1);
  out[0] = static_cast<float>(T(t) + ((T(rk1) + 1) * T(rk1)) / -4);
  out[1] = static_cast<float>(std::sqrt((T(rk1) + 1) * T(rk1) * (2 * T(rk1) + 1) / 24));
  out[2] = static_cast<float>(T(out[0]) / T(out[1]));
}

// Mann-Whitney: u1, u2, u, numt, dent, z.
template <class T>
void mann_whitney(float rnx, float rny, float r1, float out[6]) {
  const float u1 = static_cast<float>(T(rnx) * T(rny) + ((T(rnx) + 1) * T(rnx)) / 2 - T(r1));
  const float u2 = static_cast<float>(T(rnx) * T(rny) - T(u1));
  const float u = std::fabs(u1) > std::fabs(u2) ? std::fabs(u2) : std::fabs(u1);
  const float numt = static_cast<float>(T(u) + (T(rnx) * T(rny)) / -2);
  const float dent = static_cast<float>(std::sqrt(T(rnx) * T(rny) * (T(rnx) + T(rny) + 1) / 12));
  const float z = static_cast<float>(T(numt) / T(dent));
  const float v[6] = {u1, u2, u, numt, dent, z};
  std::memcpy(out, v, sizeof v);
}

struct Tally {
  long cases = 0, singles_differ = 0, fields_differ = 0;
  void report(const char* what, bool singles_must_agree) const {
    if (fields_differ != 0 || (singles_must_agree && singles_differ != 0)) failed = true;
    std::printf("%s: %ld cases, %ld with a stored single that differs, %ld with a printed field that differs\n",
                what, cases, singles_differ, fields_differ);
  }
};

// Compares one Mann-Whitney case; the branch that prints follows from the
// sizes.  Shows the first `shown` cases whose stored singles differ.
void compare_mann(Tally& tally, int nx, int ny, float rnx, float rny, float r1, int shown) {
  float e[6], d[6];
  mann_whitney<long double>(rnx, rny, r1, e);
  mann_whitney<double>(rnx, rny, r1, d);
  ++tally.cases;
  bool singles = true;
  for (int i = 0; i < 6; ++i) singles = singles && same(e[i], d[i]);
  if (singles) return;
  ++tally.singles_differ;
  const bool large = rnx > 20 || rny > 20;
  // The small branch prints u (and the integer sizes), the large one |z|.
  const bool field = large ? same_field(e[5], d[5]) : same_field(e[2], d[2]);
  if (!field) ++tally.fields_differ;
  if (!field || tally.singles_differ <= static_cast<long>(shown))
    std::printf("  nx=%d ny=%d R1=%.1f: dent %.9g / %.9g, z %.9g / %.9g, u %.9g / %.9g%s\n", nx, ny,
                static_cast<double>(r1), e[4], d[4], e[5], d[5], e[2], d[2],
                field ? "" : "  PRINTED FIELD DIFFERS");
}

void part1() {
  Tally tally;
  for (int k1 = 26; k1 <= 200; ++k1)
    for (int h = 0; h <= k1 * (k1 + 1); ++h) {
      const float t = static_cast<float>(h) / 2;
      float e[3], d[3];
      wilcoxon<long double>(k1, t, e);
      wilcoxon<double>(k1, t, d);
      ++tally.cases;
      if (!same(e[0], d[0]) || !same(e[1], d[1]) || !same(e[2], d[2])) {
        ++tally.singles_differ;
        if (!same_field(e[2], d[2])) ++tally.fields_differ;
        std::printf("  k1=%d T=%.1f: testez %.9g / %.9g\n", k1, static_cast<double>(t), e[2], d[2]);
      }
    }
  tally.report("part 1, signed-rank test, k1 = 26..200, every T", true);
}

// With `every`, R1 takes every half-integer from 0 to n(n+1)/2; otherwise
// only those from nx(nx+1)/2 to nx(nx+1)/2 + nx*ny, which are all that ranks
// can give (averaging ranks over runs of ties keeps the sum of the nx
// smallest at least 1 + ... + nx, and of the nx largest at most
// (ny+1) + ... + n).
void part2(bool every) {
  Tally tally;
  for (int nx = 0; nx <= 200; ++nx)
    for (int ny = 0; nx + ny <= 200; ++ny) {
      const int n = nx + ny;
      const int low = every ? 0 : nx * (nx + 1);
      const int high = every ? n * (n + 1) : nx * (nx + 1) + 2 * nx * ny;
      for (int h = low; h <= high; ++h)
        compare_mann(tally, nx, ny, static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(h) / 2, 5);
    }
  tally.report(every ? "part 2, Mann-Whitney, nx, ny >= 0, every R1 from 0 to n(n+1)/2"
                     : "part 2, Mann-Whitney, nx, ny >= 0, every R1 that ranks can give",
               true);
}

void part3(int first, int last) {
  Tally tally;
  long filtered = 0;
  for (int a = first; a <= last; ++a) {
    const float rnx = static_cast<float>(a);
    // Every whole single from 1 to 2^31 (above 2^24 every single is whole).
    for (float big = 1; big <= 2147483648.0f; big = big < 16777216.0f ? big + 1 : std::nextafter(big, 4e9f)) {
      const float rny = -big;
      // The double evaluation of dent's root, as the program does it.
      const double s = std::sqrt(static_cast<double>(rnx) * rny * (static_cast<double>(rnx) + rny + 1) / 12);
      std::uint64_t bits;
      std::memcpy(&bits, &s, sizeof s);
      // The 29 bits below a single's significand; a halfway point is 2^28.
      const std::int64_t tail = static_cast<std::int64_t>(bits & ((1ULL << 29) - 1)) - (1LL << 28);
      if (big > 256 && (tail > 256 || tail < -256)) continue;
      ++filtered;
      const int m = big < a ? a - static_cast<int>(big) : 0;  // values ranked when ny > -nx
      const float r1 = static_cast<float>(m) * static_cast<float>(m + 1) / 2;
      // ny is any integer that rounds to -big; the first one is shown.
      compare_mann(tally, a, -static_cast<int>(static_cast<std::int64_t>(big) > 2147483647 ? 2147483647 : big),
                   rnx, rny, r1, 20);
    }
  }
  std::printf("part 3: %ld of the cases near a halfway point evaluated in full\n", filtered);
  tally.report("part 3, Mann-Whitney, nx = 21..200, ny down to -2^31 (near cases)", false);
}

void part4() {
  Tally tally;
  for (int big = 0; big <= 65536; ++big)
    for (int c = -200; c <= 200; ++c) {
      if (big == 0 && c > 0) continue;  // nx = 0 with ny > 0 is part 2
      compare_mann(tally, -big, c, -static_cast<float>(big), static_cast<float>(c), 0, 5);
    }
  tally.report("part 4, Mann-Whitney, nx = 0..-65536, ny = -200..200", true);
}

}  // namespace

int main(int argc, char** argv) {
  // The comparison is only meaningful with 64-bit long double arithmetic.
  volatile long double one = 1, tiny = 1.0L / (1ULL << 62);
  if (sizeof(long double) < 10 || one + tiny == one) {
    std::printf("skipped: long double does not evaluate with a 64-bit significand here\n");
    return 77;
  }
  // A control: a case of part 3 whose stored dent is known to differ.  If it
  // does not, both evaluations ran in the same precision and the check would
  // prove nothing.
  float control_e[6], control_d[6];
  mann_whitney<long double>(53, -55300828.0f, 0, control_e);
  mann_whitney<double>(53, -55300828.0f, 0, control_d);
  if (same(control_e[4], control_d[4])) {
    std::printf("control failed: nx = 53, ny = -55300828 gives the same dent both ways\n");
    return 1;
  }
  if (argc == 4 && std::strcmp(argv[1], "part3") == 0) {
    part3(std::atoi(argv[2]), std::atoi(argv[3]));
    return failed ? 1 : 0;
  }
  const bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
  part1();
  part2(!quick);
  part4();
  if (!quick) part3(21, 200);
  return failed ? 1 : 0;
}
