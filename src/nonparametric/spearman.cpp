// Spearman's rank correlation: the X values are ranked among themselves and
// the Y values among themselves, and the coefficient comes from the squared
// rank differences, with a t value for its significance.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "core/int32.hpp"
#include "nonparametric/ranking.hpp"

namespace amostra {
namespace {

constexpr int kPairs = 200;  // capacity of the pair arrays
constexpr const char* kStars52 = "****************************************************";

Real value_of(Real v) { return v; }

// The rank of each original value: the rank of the last sorted position that
// holds exactly that value.  Tied values share one average rank, so any of
// their positions gives it.
void ranks_in_input_order(const Real* sorted, const Real* rank_of_position, const Real* original, Real* rank,
                          int n) {
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k)
      if (sorted[k] == original[j]) rank[j] = rank_of_position[k];
}

}  // namespace

Ending spearman(Console& c, const Tables&) {
  int n = 0;
  Real dadoxx[kPairs], dadoy[kPairs];

  c.list({kStars52});
  c.list({"**            CORRELAÇÃO DE SPEARMAN              **"});
  c.list({"**           Recomendável que N >= 20             **"});
  c.list({kStars52});
  c.blank();

  read_count(c, n, kPairs, [&] { c.list({"************ Quantos pares de dados? ***************"}); });
  const int nx = n;
  c.blank();

  for (int j = 1; j <= n; ++j) {
    c.list({"******  Digitar o par X Y numero", j, "  **********"});
    c.read(dadoxx[j - 1], dadoy[j - 1]);
  }
  c.blank();

  // Copies in input order, then each variable sorted by itself.
  Real origx[kPairs], origy[kPairs];
  for (int j = 0; j < n; ++j) {
    origx[j] = dadoxx[j];
    origy[j] = dadoy[j];
  }
  exchange_sort(dadoxx, n, value_of);
  exchange_sort(dadoy, n, value_of);

  // Ranks of the sorted positions; tied values share the average of their
  // positions (the highest position alone could push the coefficient
  // outside -1..1).
  Real pstx[kPairs], psty[kPairs];
  for (int k = 1; k <= n; ++k) {
    pstx[k - 1] = k;
    psty[k - 1] = k;
  }
  mid_ranks(dadoxx, pstx, n);
  mid_ranks(dadoy, psty, n);

  Real postox[kPairs], postoy[kPairs];
  ranks_in_input_order(dadoxx, pstx, origx, postox, n);
  ranks_in_input_order(dadoy, psty, origy, postoy, n);

  Real dif2[kPairs];
  Real somad2 = 0;
  for (int j = 0; j < n; ++j) {
    dif2[j] = sq(postoy[j] - postox[j]);
    somad2 = somad2 + dif2[j];
  }

  // n^3 - n in integer arithmetic, then the quotient.
  const int cubo = wrap_sub(wrap_mul(wrap_mul(n, n), n), n);
  const Real rs = 1 - (6 * somad2) / cubo;

  Real t;
  if (n <= 9)
    t = Real(100000.0);
  else
    t = rs * sqrt((nx - 2) / (1 - sq(rs)));

  c.blank();
  c.list({kStars52});
  c.write("(1x,2(\"*\"),1x,\"Coeficiente de SPEARMAN = \",f5.3,2x,    3(\"*\"), \" t = \", f5.2,1x, 2(\"*\"))", {rs, t});
  c.list({kStars52});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
