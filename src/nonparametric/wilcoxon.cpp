// Wilcoxon's signed-rank test for paired data: the absolute differences of
// the pairs are ranked (zeros dropped, ties averaged) and T is the rank sum of
// the less frequent sign.  Up to 25 non-zero differences T goes to the table
// and the program ends; above that the normal approximation is shown.
#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "nonparametric/ranking.hpp"

namespace amostra {
namespace {

constexpr int kPairs = 200;  // capacity of the pair arrays
constexpr const char* kStars54 = "******************************************************";

Ext magnitude(Real d) { return abs(d); }

}  // namespace

Ending wilcoxon(Console& c, const Tables& t) {
  int n = 0;
  Real xa[kPairs], xd[kPairs], di[kPairs];

  c.list({kStars54});
  c.list({"*                 Teste de WILCOXON                  *"});
  c.list({kStars54});
  c.blank();

  read_count(c, n, kPairs, [&] { c.list({"*****           Quantos pares de dados?          *****"}); });
  c.blank(2);

  for (int j = 1; j <= n; ++j) {
    c.list({"***              Digitar o par ", j, "             ***"});
    c.read(xa[j - 1], xd[j - 1]);
    di[j - 1] = xa[j - 1] - xd[j - 1];
  }

  // Order the differences by size, zeros included; equal sizes keep their
  // input order.
  exchange_sort(di, n, magnitude);

  // Drop the zero differences (a negative zero is a zero).
  int k1 = 0;
  Real dif[kPairs], posto[kPairs];
  for (int j = 0; j < n; ++j) {
    if (di[j] != 0) {
      dif[k1] = di[j];
      posto[k1] = k1 + 1;
      ++k1;
    }
  }
  const Real rk1 = k1;

  // Ties: a positive and a negative difference of the same size share the
  // average of their positions.
  mid_ranks(dif, posto, k1, magnitude);

  // Signs and rank sums.
  int knegat = 0;
  int kposit = 0;
  Real somanegat = 0;
  Real somaposit = 0;
  for (int j = 0; j < k1; ++j) {
    if (dif[j] < 0) {
      posto[j] = -posto[j];
      somanegat = somanegat + posto[j];
      ++knegat;
    } else {
      somaposit = somaposit + abs(posto[j]);
      ++kposit;
    }
  }

  // T is chosen by the counts of the signs: the sum of the less frequent one,
  // the negative sum when the counts are equal.
  const Real valort = kposit >= knegat ? somanegat : somaposit;

  if (rk1 <= 25) {
    // Small samples: T goes to the table of critical values.
    c.list({kStars54});
    c.write("(1x,5(\"*\"),2x,\"T = \",F6.2,2x,5(\"*\"),2x,A20,I3,1x,4(\"*\"))", {abs(valort), t.mensagem, k1});
    c.list({kStars54});
    return Ending::Direct;
  }

  // Large samples: the normal approximation.
  const Real numt = abs(valort) + ((rk1 + 1) * rk1) / -4;
  const Real dent = sqrt((rk1 + 1) * rk1 * (2 * rk1 + 1) / 24);
  const Real testez = numt / dent;

  c.list({kStars54});
  c.write("(1x,4(\"*\"),2x,\"Zc = \",F6.2,2x,5(\"*\"),2x,A20,I3,1x,4(\"*\"))", {abs(testez), t.mensagem2, k1});
  c.list({kStars54});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
