// Searches tables for the two-way analysis of variance with replication whose
// printed results change when its expressions are evaluated in double instead
// of extended.
//
//   g++ -O2 -ffp-contract=off -o anova_replicated_search tools/precision/anova_replicated_search.cpp
//   nice ./anova_replicated_search TRIALS SEED
//
// x86 only: long double is the x87 80-bit format there, double is SSE2.
// The whole analysis is modelled statement by statement, every assignment
// stored in a single, as the program does.
//
// Where a difference can come from: the column sum of squares
//     sqdcol = somacol2/(rnl*rnr) - fc
// is one expression: the quotient is rounded (2^-64 or 2^-53 relative) and fc
// is subtracted before the single is stored.  With 3 rows and 3 repetitions
// the divisor is 9, whose binary expansion repeats every 6 bits; for about one
// somacol2 in ten the quotient rounded to 53 bits lies above a single's
// halfway point h by a number D that is itself a single.  If fc (the grand
// total squared over the count) is exactly that D, double lands on h, and the
// tie goes to the even single, while extended keeps the bits the double lost
// and rounds to the other side: sqdcol moves by one unit.  The grand total
// must then be small beside the column totals (fc below half a unit of
// sqdcol): the columns pull in opposite directions.  The moved unit reaches
// the interaction sum of squares
//     sqdlxc = ((somalxc2/rnr - fc) - sqdcol) - sqdlin,
// and when the interaction is small beside the columns the unit is a visible
// part of it: F(lin x col) prints differently (the residual is unchanged, the
// unit cancels there).
//
// The tables drawn: 3 rows, 2 columns, 3 repetitions; integers, column 1 near
// +A and column 2 near -A (A about 900000, so every sum of the data is exact
// in a single), row, interaction and within-cell deviations of a few thousand.
//
// Found (1,000,000 tries, seed 1, under a second): a sum of squares moved in
// 489 tables, the printed results differ in 21 (always F(lin x col), now and
// then F(linhas) too).  The third of them is the golden session
// extended_anova_replicated (F(lin x col) 1.77 in extended, 1.61 in double),
// derived by tools/precision/extended_anova_replicated.py.  Which divisors allow the
// construction was sampled with exact fractions (3000 random somacol2 per
// odd divisor up to 399): 3, 5 and 7 never (the 53-bit remainder of a
// quotient by 3 is the repeating 0101... over some 28 bits, never a single),
// 9 for about one somacol2 in nine, and most larger odd divisors too.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "common.hpp"

namespace {

constexpr int L = 3, C = 2, R = 3;

struct Result {
  float fcol, flin, fint, dpres, sqdcol, sqdlxc;
  float mediacol[C], medialin[L];
};

template <class T>
Result anova(const float (&x)[L][C][R]) {
  const float rnl = L, rnc = C, rnr = R;
  float somax = 0, somax2 = 0;
  for (int i = 0; i < L; ++i)
    for (int j = 0; j < C; ++j)
      for (int k = 0; k < R; ++k) {
        somax = static_cast<float>(static_cast<T>(somax) + x[i][j][k]);
        somax2 = static_cast<float>(static_cast<T>(somax2) + static_cast<T>(x[i][j][k]) * x[i][j][k]);
      }
  const float fc = static_cast<float>(static_cast<T>(somax) * somax / (static_cast<T>(rnc) * rnl * rnr));
  const float sqdtot = static_cast<float>(static_cast<T>(somax2) - fc);
  float somacel[L][C] = {}, somac[C] = {}, somal[L] = {};
  for (int i = 0; i < L; ++i)
    for (int j = 0; j < C; ++j)
      for (int k = 0; k < R; ++k) somacel[i][j] = static_cast<float>(static_cast<T>(somacel[i][j]) + x[i][j][k]);
  Result r{};
  for (int j = 0; j < C; ++j)
    for (int i = 0; i < L; ++i)
      for (int k = 0; k < R; ++k) somac[j] = static_cast<float>(static_cast<T>(somac[j]) + x[i][j][k]);
  for (int j = 0; j < C; ++j) r.mediacol[j] = static_cast<float>(static_cast<T>(somac[j]) / (static_cast<T>(rnl) * rnr));
  for (int i = 0; i < L; ++i)
    for (int j = 0; j < C; ++j)
      for (int k = 0; k < R; ++k) somal[i] = static_cast<float>(static_cast<T>(somal[i]) + x[i][j][k]);
  for (int i = 0; i < L; ++i) r.medialin[i] = static_cast<float>(static_cast<T>(somal[i]) / (static_cast<T>(rnc) * rnr));
  float somacol2 = 0, somalin2 = 0, somalxc2 = 0;
  for (int j = 0; j < C; ++j) somacol2 = static_cast<float>(static_cast<T>(somacol2) + static_cast<T>(somac[j]) * somac[j]);
  for (int i = 0; i < L; ++i) somalin2 = static_cast<float>(static_cast<T>(somalin2) + static_cast<T>(somal[i]) * somal[i]);
  for (int i = 0; i < L; ++i)
    for (int j = 0; j < C; ++j)
      somalxc2 = static_cast<float>(static_cast<T>(somalxc2) + static_cast<T>(somacel[i][j]) * somacel[i][j]);
  const float sqdcol = static_cast<float>(static_cast<T>(somacol2) / (static_cast<T>(rnl) * rnr) - fc);
  const float sqdlin = static_cast<float>(static_cast<T>(somalin2) / (static_cast<T>(rnc) * rnr) - fc);
  const float sqdlxc = static_cast<float>(((static_cast<T>(somalxc2) / rnr - fc) - sqdcol) - sqdlin);
  const float sqdres = static_cast<float>(((static_cast<T>(sqdtot) - sqdcol) - sqdlin) - sqdlxc);
  const int gltot = R * (L * C) - 1, glcol = C - 1, gllin = L - 1, gllxc = gllin * glcol;
  const int glres = ((gltot - glcol) - gllin) - gllxc;
  const float varcol = static_cast<float>(static_cast<T>(sqdcol) / static_cast<float>(glcol));
  const float varlin = static_cast<float>(static_cast<T>(sqdlin) / static_cast<float>(gllin));
  const float varlxc = static_cast<float>(static_cast<T>(sqdlxc) / static_cast<float>(gllxc));
  const float varres = static_cast<float>(static_cast<T>(sqdres) / static_cast<float>(glres));
  r.dpres = static_cast<float>(std::sqrt(static_cast<T>(varres)));
  r.fcol = static_cast<float>(static_cast<T>(varcol) / varres);
  r.flin = static_cast<float>(static_cast<T>(varlin) / varres);
  r.fint = static_cast<float>(static_cast<T>(varlxc) / varres);
  r.sqdcol = sqdcol;
  r.sqdlxc = sqdlxc;
  return r;
}

// The printed fields (F6.2 each; C's %6.2f agrees with it for finite values
// that fit, which is all that is compared here).
std::string printed(const Result& r) {
  char b[256];
  std::snprintf(b, sizeof b, "%6.2f|%6.2f|%6.2f|%6.2f|%6.2f|%6.2f|%6.2f|%6.2f|%6.2f", r.fcol, r.flin, r.fint, r.dpres,
                r.mediacol[0], r.mediacol[1], r.medialin[0], r.medialin[1], r.medialin[2]);
  std::string s(b);
  // A field wider than six characters prints as asterisks in both.
  std::string out, field;
  for (char c : s + "|") {
    if (c != '|') {
      field += c;
      continue;
    }
    out += (field.size() > 6 ? std::string("******") : field) + "|";
    field.clear();
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  long trials = 0;
  std::mt19937_64 g;
  if (!precision::search_arguments(argc, argv, trials, g)) return 2;
  long moved = 0, shown = 0;
  for (long t = 0; t < trials; ++t) {
    const long a = 850000 + static_cast<long>(g() % 100000);
    const auto dev = [&](long span) { return static_cast<long>(g() % (2 * span + 1)) - span; };
    float x[L][C][R];
    long total = 0;
    for (int i = 0; i < L; ++i) {
      const long row = dev(3000);
      for (int j = 0; j < C; ++j) {
        const long cell = (j == 0 ? a : -a) + row + dev(3000);
        for (int k = 0; k < R; ++k) {
          x[i][j][k] = static_cast<float>(cell + dev(3000));
          total += static_cast<long>(x[i][j][k]);
        }
      }
    }
    // Keep the grand total small beside the column totals.
    const long want = dev(4000);
    x[L - 1][C - 1][R - 1] += static_cast<float>(want - total);
    const Result e = anova<long double>(x), d = anova<double>(x);
    if (e.sqdcol == d.sqdcol && e.sqdlxc == d.sqdlxc) continue;
    ++moved;
    const std::string pe = printed(e), pd = printed(d);
    if (pe == pd) continue;
    ++shown;
    std::printf("extended %s sqdcol %.9g sqdlxc %.9g\ndouble   %s sqdcol %.9g sqdlxc %.9g\ndata:", pe.c_str(), e.sqdcol,
                e.sqdlxc, pd.c_str(), d.sqdcol, d.sqdlxc);
    for (int i = 0; i < L; ++i)
      for (int j = 0; j < C; ++j)
        for (int k = 0; k < R; ++k) std::printf(" %.0f", x[i][j][k]);
    std::printf("\n");
  }
  std::fprintf(stderr, "%ld tries: sums of squares moved in %ld, printed differently in %ld\n", trials, moved, shown);
  return 0;
}
