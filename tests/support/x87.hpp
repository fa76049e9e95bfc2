// Moving numbers between the x87 `long double` and the program's extended
// type, bit for bit, whichever representation the build chose.  For tests on
// x86, where `long double` is the x87 format.
#pragma once

#include <cfloat>
#include <cstring>

#include "core/arith.hpp"

static_assert(LDBL_MANT_DIG == 64, "these tests compare with the x87 extended format");

namespace amostra::test {

inline SoftExt soft_of(long double v) {
  std::uint64_t m;
  std::uint16_t se;
  std::memcpy(&m, &v, 8);
  std::memcpy(&se, reinterpret_cast<const char*>(&v) + 8, 2);
  return SoftExt::from_bits(se, m);
}

inline long double x87_of(SoftExt s) {
  long double v = 0;
  std::uint64_t m = s.significand();
  std::uint16_t se = s.sign_exponent();
  std::memcpy(&v, &m, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &se, 2);
  return v;
}

inline long double x87(Ext e) {
#ifdef AMOSTRA_SOFT_EXT
  return x87_of(e.rep());
#else
  return e.rep();
#endif
}

inline Ext ext_of(long double v) {
#ifdef AMOSTRA_SOFT_EXT
  return Ext::of_rep(soft_of(v));
#else
  return Ext::of_rep(v);
#endif
}

}  // namespace amostra::test
