// The working arrays of the regression applications: columns of up to 200
// reals, indexed from 1 like the pairs they hold (`xx(j)` is X of pair j).
#pragma once

#include <array>
#include <cassert>

#include "core/arith.hpp"

namespace amostra {

// Largest number of pairs either regression accepts.
constexpr int kMaxPairs = 200;

class Column {
 public:
  Real& operator()(int j) {
    assert(j >= 1 && j <= kMaxPairs);
    return v_[static_cast<std::size_t>(j - 1)];
  }
  Real operator()(int j) const {
    assert(j >= 1 && j <= kMaxPairs);
    return v_[static_cast<std::size_t>(j - 1)];
  }

 private:
  std::array<Real, kMaxPairs> v_{};  // every element starts at zero
};

}  // namespace amostra
