// The Mann-Whitney test of two independent samples: the pooled values are
// ranked with average ranks for ties and U comes from the rank sum of sample
// X.  With both samples of 20 values or fewer U goes to the table and the
// program ends; otherwise the normal approximation is shown.
#include <algorithm>

#include "console/dialogue.hpp"
#include "menu/apps.hpp"
#include "core/int32.hpp"
#include "nonparametric/ranking.hpp"

namespace amostra {
namespace {

constexpr int kValues = 200;  // capacity of the pooled array, both samples together
constexpr const char* kStars54 = "******************************************************";

// A pooled value with the mark of the sample it came from.  The mark is kept
// apart from the value so that zeros and negative data are ranked where their
// value puts them and counted in their own sample.
struct Pooled {
  Real value;
  bool from_x = false;
};

Real value_of(const Pooled& p) { return p.value; }

}  // namespace

Ending mann_whitney(Console& c, const Tables& t) {
  int nx = 0;
  int ny = 0;
  Real x[kValues], y[kValues];

  c.list({kStars54});
  c.list({"***              TESTE DE MANN-WITHNEY             ***"});
  c.list({"* Para pequenas amostras consultar tabelas do teste  *"});
  c.list({kStars54});
  c.blank();

  read_count(c, nx, kValues, [&] { c.list({"***         Tamanho da amostra X:      nx =  ?     ***"}); });
  c.blank();
  for (int j = 1; j <= nx; ++j) {
    c.list({"** Para a amostra X  //// Digitar dado ", j, " *********"});
    c.read(x[j - 1]);
  }
  c.list({kStars54});
  c.blank();

  // Sample Y fills what sample X left of the pooled array.
  read_count(c, ny, kValues - std::max(nx, 0),
             [&] { c.list({"***         Tamanho da amostra Y:      ny =  ?     ***"}); });
  c.blank();
  for (int j = 1; j <= ny; ++j) {
    c.list({"** Para a amostra Y  //// Digitar dado ", j, " *********"});
    c.read(y[j - 1]);
  }
  c.blank();

  // Pooled sample: X, then Y from position nx + 1.  A negative nx would put
  // the first Y values before the array; they are left out, as positions
  // 1..n hold what lies past them.
  Pooled xy[kValues];
  for (int j = 1; j <= nx; ++j) xy[j - 1] = {x[j - 1], true};
  for (int j = 1; j <= ny; ++j)
    if (nx + j >= 1) xy[nx + j - 1] = {y[j - 1], false};
  // n = nx + ny.  Only two hugely negative sizes can make that sum wrap
  // past the capacity; no value was pooled then.
  int n = wrap_add(nx, ny);
  if (n > kValues) n = 0;

  exchange_sort(xy, n, value_of);

  // Ranks by position; ties share the average of their positions.
  Real posto[kValues];
  for (int j = 1; j <= n; ++j) posto[j - 1] = j;
  mid_ranks(xy, posto, n, value_of);

  // Rank sum of sample X, in position order.
  Real r1 = 0;
  for (int j = 0; j < n; ++j)
    if (xy[j].from_x) r1 = r1 + posto[j];

  const Real rnx = nx;
  const Real rny = ny;
  const Real u1 = rnx * rny + ((rnx + 1) * rnx) / 2 - r1;
  const Real u2 = rnx * rny - u1;
  const Real u = abs(u1) > abs(u2) ? Real(abs(u2)) : Real(abs(u1));

  if (!(rnx > 20 || rny > 20)) {
    // Small samples: U goes to the table of critical values.
    c.list({kStars54});
    c.write("(1x,2(\"*\"),2x,\"U = \",F6.2,2x,3(\"*\"),2x,A20,I3,\" e \",I3,2x, 2(\"*\"))", {u, t.mensagem, nx, ny});
    c.list({kStars54});
    return Ending::Direct;
  }

  // Large samples: the normal approximation.
  const Real numt = u + (rnx * rny) / -2;
  const Real dent = sqrt(rnx * rny * (rnx + rny + 1) / 12);
  const Real z = numt / dent;

  c.list({kStars54});
  c.write("(1x,2(\"*\"),2x,\"Zc= \",F6.2,2x,3(\"*\"),2x,A20, 11x, 2(\"*\"))", {abs(z), t.mensagem2});
  c.list({kStars54});
  c.blank();
  return Ending::Prompt;
}

}  // namespace amostra
