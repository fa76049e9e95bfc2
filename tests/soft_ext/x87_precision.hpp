// The x87 precision control for tests: the program's start-up arithmetic is
// replaced, in the test programs that link x87_precision.cpp, by one that
// sets the significand width chosen here (64 bits normally; 53 makes every
// x87 expression evaluate as double would).
#pragma once

namespace amostra::test {

extern int x87_precision_bits;  // 64 or 53

// Sets the width for the sessions run in its lifetime, restoring 64 after.
struct X87Precision {
  explicit X87Precision(int bits) { x87_precision_bits = bits; }
  ~X87Precision() { x87_precision_bits = 64; }
  X87Precision(const X87Precision&) = delete;
  X87Precision& operator=(const X87Precision&) = delete;
};

}  // namespace amostra::test
