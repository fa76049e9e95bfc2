// Checks that no input of the Kolmogorov-Smirnov test prints differently when
// its expressions are evaluated in double instead of extended.
//
//   g++ -O2 -ffp-contract=off -o ks_precision_check tools/precision/ks_precision_check.cpp
//   ./ks_precision_check          soma1 in (35, 256): enough, see below (under a second)
//   nice ./ks_precision_check all  every single above 35 (about 10 s of CPU)
//
// The first form also runs as the CTest ks_precision_check.
//
// x86-64 only: long double is the x87 80-bit format there, double is SSE2 (a
// guard at the start checks that the two really differ on a known case).
//
// The application stores every value it computes in a single, and all but
// one of its expressions are a single operation on two stored singles:
//   soma1 = soma1 + fso(j)         fro(j) = fso(j)/soma1
//   fao(j) = fao(j-1) + fro(j)     fae(j) = fae(j-1) + fre(j)
//   difa(j) = |fao(j) - fae(j)|    (the absolute value is exact)
// The exact result of one operation on two singles, rounded to 53 bits and
// then to 24, is the same single as when rounded to 24 bits directly
// (53 >= 2*24 + 2), and also when rounded to 64 bits first; so these are the
// same in both evaluations for every input. The maximum Dc compares stored
// singles (difa(j) > valmax), and the branch soma1 <= 35 compares a stored
// single with a constant: no evaluation there. That leaves the critical value
//   dt = 1.36/sqrt(soma1)          (soma1 > 35)
// two operations, a square root and a quotient, each rounded to 53 bits in
// double: this program evaluates it both ways for every single soma1 above 35
// (`all`; every finite value the sum can store there, each reachable by
// typing it as the only class's frequency) or for those below 256 (enough,
// see below), and compares the stored singles and their F5.3 fields. An
// infinite soma1 gives 0 both ways, a not-a-number one a not-a-number (and
// special values are the same in both: no rounding is involved).
//
// Multiplying soma1 by 4 doubles its square root exactly and halves dt
// exactly in both evaluations (all values stay normal: dt > 7e-20), so the
// singles (35, 256) already cover every case; `all` checks the rest anyway.
//
// Result (`all`): 1,031,012,351 values of soma1 checked; the stored dt never
// differs, so neither does its F5.3 field. (A difference needs 1.36/sqrt(soma1)
// within about 2^-53 of a halfway point; scaling by 4 leaves only about 2^24
// distinct cases, each with a chance near 2^-28: none was expected, and there
// is none.) So the Kolmogorov-Smirnov test cannot show the evaluation's
// precision in its printed bytes, whatever is typed.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

float dt_extended(float n) { return static_cast<float>(static_cast<long double>(1.36f) / sqrtl(n)); }
float dt_double(float n) { return static_cast<float>(static_cast<double>(1.36f) / std::sqrt(static_cast<double>(n))); }

// A guard that double really is evaluated in double here (not widened to
// the x87 format, which would make the comparison vacuous): the chi-square
// term of tools/precision/extended_chi_square.py differs between the two.
template <class T>
float chi_term(float fo, float fe) {
  const T d = static_cast<T>(fo) - static_cast<T>(fe);
  return static_cast<float>(d * d / static_cast<T>(fe));
}

}  // namespace

int main(int argc, char** argv) {
  const float fo = 0x1.0cd818p+5f, fe = 0x1.728ffcp+0f;
  if (chi_term<long double>(fo, fe) == chi_term<double>(fo, fe)) {
    std::printf("double and long double evaluate alike here: the check would prove nothing\n");
    return 1;
  }
  const bool all = argc == 2 && std::strcmp(argv[1], "all") == 0;
  std::uint32_t first, last;
  const float above = std::nextafter(35.0f, 1e30f);
  const float top = all ? 3.40282347e38f : std::nextafter(256.0f, 0.0f);
  std::memcpy(&first, &above, sizeof first);
  std::memcpy(&last, &top, sizeof last);
  long cases = 0, stored = 0, printed = 0;
  for (std::uint32_t bits = first;; ++bits) {
    float n;
    std::memcpy(&n, &bits, sizeof n);
    const float e = dt_extended(n), d = dt_double(n);
    ++cases;
    if (e != d) {
      ++stored;
      char fe[32], fd[32];
      // F5.3 of the exact binary value: no single lies on a .xxx5 boundary.
      std::snprintf(fe, sizeof fe, "%5.3f", static_cast<double>(e));
      std::snprintf(fd, sizeof fd, "%5.3f", static_cast<double>(d));
      const bool differs = std::strcmp(fe, fd) != 0;
      printed += differs;
      std::printf("soma1=%.9g (%a): dt ext %a dbl %a, F5.3 %s %s%s\n", n, n, e, d, fe, fd,
                  differs ? "  PRINTED DIFFERENCE" : "");
    }
    if (bits == last) break;
  }
  std::printf("%ld values of soma1 in (35, %s), %ld stored dt differ, %ld printed differ\n", cases,
              all ? "max" : "256", stored, printed);
  return stored != 0;
}
