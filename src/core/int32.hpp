// 32-bit integer arithmetic on typed counts.  A count may be anything a 32-bit
// integer holds (negative counts are accepted and read nothing), so a sum or
// product of counts may leave that range; it then wraps around modulo 2^32, as
// the machine's integer arithmetic does, instead of being undefined.
#pragma once

#include <cstdint>

namespace amostra {

inline int wrap_add(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline int wrap_sub(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline int wrap_mul(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace amostra
