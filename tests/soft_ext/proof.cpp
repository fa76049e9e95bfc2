// The software extended type against the x87 unit, bit for bit.
//
//   soft_ext_proof [OPERANDS [SEED [exhaustive]]]
//
// For every operation the program uses, OPERANDS operands (or pairs) are drawn
// from a mix of kinds -- random bit patterns, values near integers and near
// the halfway points of both roundings, tiny, huge and subnormal numbers,
// infinities, quiet and signalling not-a-numbers, and the program's own
// ranges (singles, counts, typed decimals) -- and every pair of a fixed edge
// set is tried as well.  The two shortcuts on pairs of singles (their exact
// product, their sum rounded to a single) are checked the same way.
// "exhaustive" adds every single and every int for
// the conversions.  Every result must have the same bits as the hardware's;
// the first few differences are printed and the exit status is 1.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/soft_ext.hpp"
#include "support/x87.hpp"

static_assert(LDBL_MANT_DIG == 64, "the proof compares with the x87 extended format");

using amostra::SoftExt;

namespace {

constexpr int kBias = 16383;

struct Rng {
  std::uint64_t s;
  std::uint64_t next() {  // splitmix64
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint64_t below(std::uint64_t n) { return next() % n; }
};

struct Bits {
  std::uint64_t m;
  std::uint16_t se;
};

Bits bits_of(long double v) {
  Bits b;
  std::memcpy(&b.m, &v, 8);
  std::memcpy(&b.se, reinterpret_cast<const char*>(&v) + 8, 2);
  return b;
}

// A canonical encoding: the integer bit set exactly when the exponent is not 0.
long double make(std::uint16_t se, std::uint64_t m) {
  if ((se & 0x7FFF) == 0)
    m &= ~0x8000000000000000ull;
  else
    m |= 0x8000000000000000ull;
  long double v = 0;
  std::memcpy(&v, &m, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &se, 2);
  return v;
}

SoftExt soft(long double v) { return amostra::test::soft_of(v); }

bool same(SoftExt s, long double h) {
  Bits b = bits_of(h);
  return s.sign_exponent() == b.se && s.significand() == b.m;
}

std::string show(long double v) {
  Bits b = bits_of(v);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04x:%016llx", b.se, static_cast<unsigned long long>(b.m));
  return buf;
}
std::string show(SoftExt s) { return show(amostra::test::x87_of(s)); }

struct Tally {
  const char* name;
  std::uint64_t tried = 0, differed = 0;
  void fail(const std::string& what) {
    if (++differed <= 5) std::printf("  %s: %s\n", name, what.c_str());
  }
};

std::vector<long double> edge_set() {
  std::vector<long double> e;
  const std::uint64_t top = 0x8000000000000000ull;
  for (std::uint16_t sign : {0, 0x8000}) {
    auto add = [&](std::uint16_t ex, std::uint64_t m) { e.push_back(make(static_cast<std::uint16_t>(sign | ex), m)); };
    add(0, 0);                        // zero
    add(0, 1);                        // least subnormal
    add(0, 2);
    add(0, 0x7FFFFFFFFFFFFFFFull);    // greatest subnormal
    add(0, 0x4000000000000000ull);
    add(1, top);                      // least normal
    add(1, top | 1);
    add(2, top);
    add(0x7FFE, ~0ull);               // greatest finite
    add(0x7FFE, top);
    add(0x7FFD, ~0ull);
    add(0x7FFF, top);                 // infinity
    add(0x7FFF, 0xC000000000000000ull);  // quiet NaNs
    add(0x7FFF, 0xC000000000000001ull);
    add(0x7FFF, ~0ull);
    add(0x7FFF, top | 1);             // signalling NaNs
    add(0x7FFF, 0xBFFFFFFFFFFFFFFFull);
    for (int k = -3; k <= 3; ++k) add(static_cast<std::uint16_t>(kBias + k), top);  // powers of two
    add(kBias, ~0ull);                // just below 2
    add(kBias, top | 1);              // just above 1
    add(kBias - 1, ~0ull);            // just below 1
    add(kBias + 31, top);             // 2^31
    add(kBias + 30, ~0ull);
    add(kBias + 31, top | (1ull << 32));  // 2^31 + 1
    add(kBias + 63, ~0ull);           // 2^64 - 1
    add(kBias + 127, 0xFFFFFF8000000000ull);  // greatest single
    add(kBias + 127, 0xFFFFFFC000000000ull);  // its halfway point to 2^128
    add(kBias - 126, top);            // least normal single
    add(kBias - 149, top);            // least subnormal single
    add(kBias - 150, top);            // half of it
    add(kBias - 150, top | 1);
    add(kBias, 0x8000008000000000ull);  // 1 + 2^-24: halfway between singles
    add(kBias, 0x8000018000000000ull);  // 1 + 3·2^-24
  }
  return e;
}

// An operand of one of the kinds listed at the top.
long double operand(Rng& g) {
  const std::uint64_t top = 0x8000000000000000ull;
  std::uint16_t sign = (g.next() & 1) ? 0x8000 : 0;
  switch (g.below(12)) {
    case 0:
    case 1:  // any bit pattern
      return make(static_cast<std::uint16_t>(g.next()), g.next());
    case 2: {  // near an integer
      std::uint64_t k = g.next() >> g.below(64);
      long double v = static_cast<long double>(k);
      if (k == 0) return v;
      Bits b = bits_of(v);
      b.m += g.below(7) - 3;
      return make(static_cast<std::uint16_t>(sign | b.se), b.m);
    }
    case 3: {  // near the halfway points of rounding to a single, or of a sum's last bit
      std::uint64_t m = g.next();
      int kind = static_cast<int>(g.below(3));
      if (kind == 0) m = (m & ~((1ull << 40) - 1)) | (1ull << 39);
      if (kind == 1) m &= ~((1ull << g.below(63)) - 1);
      if (kind == 2) m |= (1ull << g.below(63)) - 1;
      m += g.below(3) - 1;
      return make(static_cast<std::uint16_t>(sign | (kBias - 140 + g.below(280))), m);
    }
    case 4:  // tiny and subnormal
      return make(static_cast<std::uint16_t>(sign | g.below(70)), g.next() >> g.below(64));
    case 5:  // huge
      return make(static_cast<std::uint16_t>(sign | (0x7FFE - g.below(70))), g.next());
    case 6: {  // infinities, not-a-numbers, zeros
      std::uint64_t m = g.next();
      switch (g.below(5)) {
        case 0: return make(static_cast<std::uint16_t>(sign | 0x7FFF), top);
        case 1: return make(static_cast<std::uint16_t>(sign | 0x7FFF), m | 0x4000000000000000ull);
        case 2: return make(static_cast<std::uint16_t>(sign | 0x7FFF), (m & ~0x4000000000000000ull) | 1);
        case 3: return make(static_cast<std::uint16_t>(sign | 0x7FFF), 0xC000000000000000ull);
        default: return make(sign, 0);
      }
    }
    case 7: {  // a single of the program's ranges
      std::uint32_t f = static_cast<std::uint32_t>(g.next());
      f = (f & 0x807FFFFFu) | ((127 - 20 + static_cast<std::uint32_t>(g.below(50))) << 23);
      float x;
      std::memcpy(&x, &f, 4);
      return x;
    }
    case 8: {  // a typed decimal, stored as a single
      float x = static_cast<float>(static_cast<double>(static_cast<long>(g.below(10000000))) / 100.0);
      return sign ? -x : x;
    }
    case 9:  // a count
      return static_cast<long double>(static_cast<int>(g.next() >> (32 + g.below(32))));
    case 10: {  // every single's bits
      std::uint32_t f = static_cast<std::uint32_t>(g.next());
      float x;
      std::memcpy(&x, &f, 4);
      return x;
    }
    default:  // around the single range's ends
      return make(static_cast<std::uint16_t>(sign | (kBias + (g.next() & 1 ? 120 : -160) + g.below(40))), g.next());
  }
}

// The second operand: often close to the first (cancellation, ties, equal
// exponents), otherwise independent.
long double partner(Rng& g, long double a) {
  Bits b = bits_of(a);
  switch (g.below(6)) {
    case 0: {
      std::uint16_t e = static_cast<std::uint16_t>((b.se & 0x7FFF) + g.below(5) - 2);
      return make(static_cast<std::uint16_t>((g.next() & 1 ? 0x8000 : 0) | (e & 0x7FFF)), g.next());
    }
    case 1:
      return make(static_cast<std::uint16_t>(b.se ^ (g.next() & 1 ? 0x8000 : 0)), b.m + g.below(5) - 2);
    case 2: {
      std::uint16_t e = static_cast<std::uint16_t>((b.se & 0x7FFF) - 64 + g.below(3));
      return make(static_cast<std::uint16_t>((b.se & 0x8000) | (e & 0x7FFF)), g.next() | 1);
    }
    default:
      return operand(g);
  }
}

using BinSoft = SoftExt (*)(SoftExt, SoftExt);
using BinHard = long double (*)(long double, long double);

struct BinOp {
  Tally t;
  BinSoft s;
  BinHard h;
};

__attribute__((noinline)) long double h_add(long double a, long double b) { return a + b; }
__attribute__((noinline)) long double h_sub(long double a, long double b) { return a - b; }
__attribute__((noinline)) long double h_mul(long double a, long double b) { return a * b; }
__attribute__((noinline)) long double h_div(long double a, long double b) { return a / b; }

void check_pair(BinOp& op, long double a, long double b) {
  ++op.t.tried;
  SoftExt s = op.s(soft(a), soft(b));
  long double h = op.h(a, b);
  if (!same(s, h)) op.t.fail(show(a) + " " + show(b) + " -> soft " + show(s) + ", x87 " + show(h));
}

void check_compare(Tally& t, long double a, long double b) {
  ++t.tried;
  SoftExt x = soft(a), y = soft(b);
  unsigned s = (x < y) | (x > y) << 1 | (x <= y) << 2 | (x >= y) << 3 | (x == y) << 4 | (x != y) << 5;
  unsigned h = (a < b) | (a > b) << 1 | (a <= b) << 2 | (a >= b) << 3 | (a == b) << 4 | (a != b) << 5;
  if (s != h) t.fail(show(a) + " " + show(b));
}

void check_unary(Tally (&t)[5], long double a) {
  SoftExt x = soft(a);
  ++t[0].tried;  // square root
  long double h = sqrtl(a);
  SoftExt s = sqrt(x);
  if (!same(s, h)) t[0].fail(show(a) + " -> soft " + show(s) + ", x87 " + show(h));
  ++t[1].tried;  // negation and absolute value
  if (!same(-x, -a) || !same(x.abs(), fabsl(a))) t[1].fail(show(a));
  ++t[2].tried;  // rounding to a single
  float fs = x.to_float(), fh = static_cast<float>(a);
  if (std::memcmp(&fs, &fh, 4) != 0) t[2].fail(show(a));
  ++t[3].tried;  // truncation to int
  int is = x.trunc_int();
  int ih = (a > -2147483649.0L && a < 2147483648.0L) ? static_cast<int>(a) : INT_MIN;
  if (is != ih) t[3].fail(show(a) + " soft " + std::to_string(is) + " x87 " + std::to_string(ih));
  ++t[4].tried;  // not-a-number test
  if (x.is_nan() != std::isnan(a)) t[4].fail(show(a));
}

bool check_float(Tally& t, std::uint32_t f) {
  ++t.tried;
  float x;
  std::memcpy(&x, &f, 4);
  long double h = x;
  SoftExt s = SoftExt::from_float(x);
  if (same(s, h)) return true;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", f);
  t.fail(std::string(buf) + " -> soft " + show(s) + ", x87 " + show(h));
  return false;
}

void check_int(Tally& t, int i) {
  ++t.tried;
  if (!same(SoftExt::from_int(i), static_cast<long double>(i))) t.fail(std::to_string(i));
}

void check_scaled(Tally& t, Rng& g) {
  ++t.tried;
  bool neg = g.next() & 1;
  std::uint64_t m = g.next() | 0x8000000000000000ull;
  int e = static_cast<int>(g.below(2 * 16382)) - 16382 + 63;  // 2^(e-63) stays normal
  long double scale = make(static_cast<std::uint16_t>(kBias + e - 63), 0x8000000000000000ull);
  long double h = static_cast<long double>(m) * scale;
  if (neg) h = -h;
  SoftExt s = SoftExt::from_scaled(neg, e, m);
  if (!same(s, h)) t.fail(show(h) + " soft " + show(s));
}

float single_of(std::uint32_t f) {
  float x;
  std::memcpy(&x, &f, 4);
  return x;
}

// A pair of singles for the two shortcuts: any bits, the program's ranges,
// and second operands that cancel the first, sit at exponent distances around
// 24 and 40 (where the extended sum stops being exact and a single's
// halfway point is near), or are subnormal, infinite or not a number.
void single_pair(Rng& g, float& a, float& b) {
  std::uint32_t x = static_cast<std::uint32_t>(g.next());
  if (g.below(3) == 0) x = (x & 0x807FFFFFu) | ((127 - 20 + static_cast<std::uint32_t>(g.below(50))) << 23);
  a = single_of(x);
  std::uint32_t y = static_cast<std::uint32_t>(g.next());
  const std::uint32_t ex = (x >> 23) & 0xFF;
  switch (g.below(6)) {
    case 0:  // nearly cancelling
      y = ((x ^ (g.next() & 1 ? 0x80000000u : 0)) + static_cast<std::uint32_t>(g.below(9)) - 4);
      break;
    case 1: {  // exponents 20 to 45 apart, low bits set or clear
      std::uint32_t d = 20 + static_cast<std::uint32_t>(g.below(26));
      std::uint32_t e = ex > d ? ex - d : 0;
      std::uint32_t low = g.next() & 1 ? (y & 0x7FFFFFu) : (g.next() & 1 ? 0 : 0x7FFFFFu);
      y = (y & 0x80000000u) | (e << 23) | low;
      break;
    }
    case 2:  // subnormal, zero, infinite or not a number
      y = (y & 0x807FFFFFu) | (g.next() & 1 ? 0 : 0x7F800000u);
      if (g.below(4) == 0) y &= 0xFF800000u;
      break;
    default:
      break;
  }
  b = single_of(y);
}

void check_singles(Tally& product, Tally& sum, float a, float b) {
  ++product.tried;
  if (!same(SoftExt::product(a, b), h_mul(a, b)))
    product.fail(show(a) + " " + show(b) + " -> soft " + show(SoftExt::product(a, b)));
  for (bool negate : {false, true}) {
    ++sum.tried;
    float s = SoftExt::sum_to_float(a, b, negate);
    float h = static_cast<float>(negate ? h_sub(a, b) : h_add(a, b));
    if (std::memcmp(&s, &h, 4) != 0) sum.fail(show(a) + (negate ? " - " : " + ") + show(b));
  }
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__x86_64__) || defined(__i386__)
  unsigned short cw = 0x037F;  // 64-bit precision, nearest, all exceptions masked
  __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
  const std::uint64_t n = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200000;
  Rng g{argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1};
  const bool exhaustive = argc > 3 && std::string(argv[3]) == "exhaustive";

  BinOp bin[] = {{{"add"}, [](SoftExt a, SoftExt b) { return a + b; }, h_add},
                 {{"subtract"}, [](SoftExt a, SoftExt b) { return a - b; }, h_sub},
                 {{"multiply"}, [](SoftExt a, SoftExt b) { return a * b; }, h_mul},
                 {{"divide"}, [](SoftExt a, SoftExt b) { return a / b; }, h_div}};
  Tally cmp{"compare (6 predicates)"};
  Tally un[5] = {{"sqrt"}, {"negate, abs"}, {"to single"}, {"to int"}, {"isnan"}};
  Tally from_f{"from single"}, from_i{"from int"}, scaled{"from parts"};
  Tally single_product{"single x single"}, single_sum{"single +- single to single"};

  // Every pair of the edge set.
  std::vector<long double> edges = edge_set();
  for (long double a : edges) {
    for (long double b : edges) {
      for (BinOp& op : bin) check_pair(op, a, b);
      check_compare(cmp, a, b);
    }
    check_unary(un, a);
  }

  for (std::uint64_t k = 0; k < n; ++k) {
    long double a = operand(g), b = partner(g, a);
    for (BinOp& op : bin) check_pair(op, a, b);
    check_pair(bin[0], b, a);
    check_compare(cmp, a, b);
    check_unary(un, a);
    check_float(from_f, static_cast<std::uint32_t>(g.next()));
    check_int(from_i, static_cast<int>(g.next() >> g.below(64)));
    check_scaled(scaled, g);
    float x, y;
    single_pair(g, x, y);
    check_singles(single_product, single_sum, x, y);
  }
  for (std::uint32_t x : {0x00000000u, 0x80000000u, 0x00000001u, 0x007FFFFFu, 0x00800000u, 0x3F800000u,
                          0x7F7FFFFFu, 0xFF7FFFFFu, 0x7F800000u, 0xFF800000u, 0x7FC00000u, 0xFFC00001u,
                          0x7F800001u})
    for (std::uint32_t y : {0x00000000u, 0x80000000u, 0x00000001u, 0x807FFFFFu, 0x33800000u, 0x3F800000u,
                            0x7F7FFFFFu, 0xFF800000u, 0x7F800000u, 0x7FA00000u, 0xFFC00000u})
      check_singles(single_product, single_sum, single_of(x), single_of(y));
  for (int i : {0, 1, -1, INT_MAX, INT_MIN, INT_MIN + 1, 1 << 24, (1 << 24) + 1}) check_int(from_i, i);

  if (exhaustive) {
    for (std::uint64_t f = 0; f <= 0xFFFFFFFFull; ++f) check_float(from_f, static_cast<std::uint32_t>(f));
    for (std::int64_t i = INT_MIN; i <= INT_MAX; ++i) check_int(from_i, static_cast<int>(i));
  }

  std::uint64_t total = 0, bad = 0;
  auto report = [&](const Tally& t) {
    std::printf("%-24s %14llu tried %8llu differed\n", t.name, static_cast<unsigned long long>(t.tried),
                static_cast<unsigned long long>(t.differed));
    total += t.tried;
    bad += t.differed;
  };
  for (BinOp& op : bin) report(op.t);
  report(cmp);
  for (Tally& t : un) report(t);
  report(from_f);
  report(from_i);
  report(scaled);
  report(single_product);
  report(single_sum);
  std::printf("operations: %llu equal, %llu differed\n", static_cast<unsigned long long>(total - bad),
              static_cast<unsigned long long>(bad));
  return bad == 0 ? 0 : 1;
}
