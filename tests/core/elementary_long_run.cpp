// The long comparison of ln, exp and pow with MPFR's correctly rounded
// results, and of the library functions the program used before (the x87
// logl, and the C library's exp and pow in double rounded to single) with
// both.  Not part of `make test`; run by hand:
//
//   elementary_long_run [count [seed]]     count arguments per function
//   elementary_long_run ln-range FROM TO   ln of every single whose bit
//                                          pattern is in [FROM, TO) (hex)
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/elementary.hpp"
#include "core/elementary_reference.hpp"

namespace {

using amostra::ExtParts;
namespace ref = amostra::reference;

#if LDBL_MANT_DIG == 64
constexpr bool kX87 = true;
ExtParts parts_of(long double v) {
  ExtParts p{ExtParts::Kind::Finite, std::signbit(v), 0, 0};
  if (std::isnan(v)) {
    p.kind = ExtParts::Kind::NaN;
  } else if (std::isinf(v)) {
    p.kind = ExtParts::Kind::Infinite;
  } else if (v != 0) {
    int e;
    const long double m = std::frexp(std::fabs(v), &e);  // [0.5, 1)
    p.significand = static_cast<std::uint64_t>(std::ldexp(m, 64));
    p.exponent = e - 1;
  }
  return p;
}
ExtParts old_ln(float x) { return parts_of(logl(static_cast<long double>(x))); }
// Whether two finite logarithms still differ once rounded to single.
bool differ_in_single(const ExtParts& a, const ExtParts& b) {
  if (a.kind != ExtParts::Kind::Finite || b.kind != ExtParts::Kind::Finite) return false;
  auto single = [](const ExtParts& p) {
    const long double v = std::ldexp(static_cast<long double>(p.significand), p.exponent - 63);
    return static_cast<float>(p.negative ? -v : v);
  };
  return single(a) != single(b);
}
#else
bool differ_in_single(const ExtParts&, const ExtParts&) { return false; }
constexpr bool kX87 = false;
ExtParts old_ln(float) { return ExtParts{ExtParts::Kind::NaN, false, 0, 0}; }
#endif

float old_exp(float x) { return static_cast<float>(std::exp(static_cast<double>(x))); }
float old_pow(float b, float y) { return static_cast<float>(std::pow(static_cast<double>(b), static_cast<double>(y))); }

struct Tally {
  long n = 0, mine_ref = 0, old_ref = 0, old_mine = 0, old_mine_single = 0, multiword = 0;
  void print(const char* name, double seconds) const {
    std::printf("%-4s %10ld arguments: ours vs correctly rounded %ld differ; previous vs correctly rounded %ld; "
                "previous vs ours %ld  (%.1f s)\n",
                name, n, mine_ref, old_ref, old_mine, seconds);
    std::printf("     decided by the multi-word evaluation (the double-double one could not): %ld\n", multiword);
    if (old_mine_single != 0 || std::strcmp(name, "ln") == 0)
      std::printf("     previous vs ours still differing once rounded to single: %ld\n", old_mine_single);
  }
};

double since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int ln_range(std::uint32_t from, std::uint32_t to) {
  Tally t;
  const auto t0 = std::chrono::steady_clock::now();
  for (std::uint64_t b = from; b < to; ++b) {
    const float x = ref::from_bits(static_cast<std::uint32_t>(b));
    const ExtParts mine = amostra::ln_single(x), r = ref::ln(x);
    t.multiword += amostra::elementary_detail::last_attempts() != 0;
    ++t.n;
    if (!ref::same(mine, r)) {
      ++t.mine_ref;
      std::printf("DIFFERS ln(%a)\n", static_cast<double>(x));
    }
    if (kX87) {
      const ExtParts o = old_ln(x);
      t.old_ref += !ref::same(o, r);
      t.old_mine += !ref::same(o, mine);
      t.old_mine_single += differ_in_single(o, mine);
    }
  }
  std::printf("range %08x..%08x\n", from, to);
  t.print("ln", since(t0));
  return t.mine_ref == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "ln-range") == 0)
    return ln_range(static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 16)),
                    static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 16)));
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  const auto seed = static_cast<std::uint32_t>(argc > 2 ? std::atol(argv[2]) : 2026);
  if (!kX87) std::printf("long double is not the x87 format here: no comparison with logl\n");

  Tally ln, ex, pw;
  ref::Arguments args(seed);
  auto t0 = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i) {
    const float x = args.ln_arg();
    const ExtParts mine = amostra::ln_single(x);
    ln.multiword += amostra::elementary_detail::last_attempts() != 0;
    const ExtParts r = ref::ln(x);
    ++ln.n;
    if (!ref::same(mine, r)) {
      ++ln.mine_ref;
      std::printf("DIFFERS ln(%a)\n", static_cast<double>(x));
    }
    if (kX87) {
      const ExtParts o = old_ln(x);
      ln.old_ref += !ref::same(o, r);
      ln.old_mine += !ref::same(o, mine);
      ln.old_mine_single += differ_in_single(o, mine);
    }
  }
  ln.print("ln", since(t0));

  t0 = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i) {
    const float x = args.exp_arg();
    const float mine = amostra::exp_single(x);
    ex.multiword += amostra::elementary_detail::last_attempts() != 0;
    const float r = ref::exp(x), o = old_exp(x);
    ++ex.n;
    if (!ref::same(mine, r)) {
      ++ex.mine_ref;
      std::printf("DIFFERS exp(%a)\n", static_cast<double>(x));
    }
    ex.old_ref += !ref::same(o, r);
    ex.old_mine += !ref::same(o, mine);
  }
  ex.print("exp", since(t0));

  t0 = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i) {
    float b, y;
    args.pow_args(b, y);
    const float mine = amostra::pow_single(b, y);
    pw.multiword += amostra::elementary_detail::last_attempts() != 0;
    const float r = ref::pow(b, y), o = old_pow(b, y);
    ++pw.n;
    if (!ref::same(mine, r)) {
      ++pw.mine_ref;
      std::printf("DIFFERS pow(%a, %a)\n", static_cast<double>(b), static_cast<double>(y));
    }
    if (!ref::same(o, r)) std::printf("previous pow(%a, %a) = %a, correctly rounded %a\n", static_cast<double>(b),
                                      static_cast<double>(y), static_cast<double>(o), static_cast<double>(r));
    pw.old_ref += !ref::same(o, r);
    pw.old_mine += !ref::same(o, mine);
  }
  pw.print("pow", since(t0));
  return ln.mine_ref + ex.mine_ref + pw.mine_ref == 0 ? 0 : 1;
}
