// The ascending exchange sort and the mid-rank assignment shared by the
// rank-based tests.
#pragma once

#include <utility>

#include "core/arith.hpp"

namespace amostra {

// Sorts v[0..n) ascending by key: n - 1 passes, each over all n - 1 adjacent
// pairs, exchanging a pair when the first key is strictly greater.  Equal keys
// are never exchanged, so they keep their input order.  `key` maps an element
// to a Real, an Ext or an int (compared exactly, in extended precision).  An
// element may be a record (a value with its sample mark): it moves whole.
template <class T, class Key>
void exchange_sort(T* v, int n, Key key) {
  for (int pass = 1; pass < n; ++pass)
    for (int i = 0; i + 1 < n; ++i)
      if (Ext(key(v[i])) > Ext(key(v[i + 1]))) std::swap(v[i], v[i + 1]);
}

// Mid-ranks of values sorted by `key`.  On entry rank[p] holds the provisional
// rank of position p (normally p + 1); on return every run of consecutive
// positions whose keys are exactly equal holds the average of its ranks.
// For each position j the run j..j+t-1 is found; when t >= 2 its ranks are
// summed in single precision (positions j+1.. first, then j) and each receives
// sum / t.  Later positions of a run re-average ranks that are already equal,
// which leaves them unchanged.  Ranks are whole or half numbers far below 2^23,
// so every sum and average is exact.
template <class T, class Key>
void mid_ranks(const T* v, Real* rank, int n, Key key) {
  for (int j = 0; j < n; ++j) {
    const Ext here = key(v[j]);
    int t = 1;
    while (j + t < n && Ext(key(v[j + t])) == here) ++t;
    if (t < 2) continue;
    Real soma = 0;
    for (int m = j + 1; m < j + t; ++m) soma = soma + rank[m];
    soma = soma + rank[j];
    const Real rk = t;
    const Real pst = soma / rk;
    for (int m = j; m < j + t; ++m) rank[m] = pst;
  }
}

// Mid-ranks where the sorted values are their own keys.
template <class K>
void mid_ranks(const K* key, Real* rank, int n) {
  mid_ranks(key, rank, n, [](const K& k) { return k; });
}

}  // namespace amostra
