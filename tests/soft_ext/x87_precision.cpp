// Replaces the program's start-up arithmetic (core/fpenv.cpp is then not
// linked from the library) with one whose x87 precision control the test
// chooses; everything else is as the program sets it.
#include "soft_ext/x87_precision.hpp"

#include <cfenv>

#include "core/fpenv.hpp"

namespace amostra {

namespace test {
int x87_precision_bits = 64;
}

void establish_arithmetic() {
  std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
  // All exceptions masked, round to nearest; precision 64 (0x300) or 53 (0x200) bits.
  unsigned short cw = test::x87_precision_bits == 53 ? 0x027F : 0x037F;
  __asm__ volatile("fldcw %0" : : "m"(cw));
  unsigned int csr = 0x1F80;
  __asm__ volatile("ldmxcsr %0" : : "m"(csr));
#endif
}

}  // namespace amostra
