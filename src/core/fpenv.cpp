#include "core/fpenv.hpp"

#include <cfenv>

namespace amostra {

void establish_arithmetic() {
  std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
  // x87 control word: all exceptions masked, 64-bit significand, round to nearest.
  unsigned short cw = 0x037F;
  __asm__ volatile("fldcw %0" : : "m"(cw));
  // SSE: all exceptions masked, round to nearest.
  unsigned int csr = 0x1F80;
  __asm__ volatile("ldmxcsr %0" : : "m"(csr));
#endif
}

}  // namespace amostra
