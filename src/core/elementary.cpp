// Correctly rounded ln, exp and pow.  The double-double evaluation further
// down answers first; what follows is the multi-word evaluation behind it.
//
// A value v under evaluation is held in binary fixed point with W fractional
// bits: a sign and a natural number V, v = V * 2^-W.  Each step truncates and
// adds a known number of units of 2^-W to an error bound, so an evaluation
// yields V and a bound E with |v_exact - V 2^-W| <= E 2^-W.  If V - E and V + E
// round to the same number in the target format, that is the correctly
// rounded result; otherwise W is doubled and the evaluation repeated.  The
// loop ends for every argument: ln and exp of a non-trivial argument are
// transcendental, and the only powers that can fall on a rounding boundary
// (the dyadic ones) are computed exactly beforehand.
#include "core/elementary.hpp"

#include <cfloat>
#include <cmath>  // std::ldexp only: exact scaling by a power of two
#include <cstring>
#include <vector>

namespace amostra {
namespace {

using Limb = std::uint32_t;

// ---------------------------------------------------------------------------
// Natural numbers of any size: little-endian 32-bit limbs, no leading zeros.

struct Nat {
  std::vector<Limb> d;

  Nat() = default;
  explicit Nat(std::uint64_t v) {
    if (v != 0) d.push_back(static_cast<Limb>(v));
    if ((v >> 32) != 0) d.push_back(static_cast<Limb>(v >> 32));
  }
  bool zero() const { return d.empty(); }
  void trim() {
    while (!d.empty() && d.back() == 0) d.pop_back();
  }
  int bits() const {
    if (d.empty()) return 0;
    int n = 0;
    for (Limb top = d.back(); top != 0; top >>= 1) ++n;
    return 32 * static_cast<int>(d.size() - 1) + n;
  }
  bool bit(int i) const {
    const std::size_t w = static_cast<std::size_t>(i) / 32;
    return w < d.size() && ((d[w] >> (i % 32)) & 1U) != 0;
  }
  // Whether any bit below position n is set.
  bool any_below(int n) const {
    const std::size_t w = static_cast<std::size_t>(n) / 32;
    for (std::size_t i = 0; i < w && i < d.size(); ++i)
      if (d[i] != 0) return true;
    if (w < d.size() && n % 32 != 0) return (d[w] & ((Limb{1} << (n % 32)) - 1)) != 0;
    return false;
  }
  // The low 64 bits.
  std::uint64_t low64() const {
    std::uint64_t v = 0;
    if (!d.empty()) v = d[0];
    if (d.size() > 1) v |= static_cast<std::uint64_t>(d[1]) << 32;
    return v;
  }
};

int cmp(const Nat& a, const Nat& b) {
  if (a.d.size() != b.d.size()) return a.d.size() < b.d.size() ? -1 : 1;
  for (std::size_t i = a.d.size(); i-- > 0;)
    if (a.d[i] != b.d[i]) return a.d[i] < b.d[i] ? -1 : 1;
  return 0;
}

Nat add(const Nat& a, const Nat& b) {
  const Nat& big = a.d.size() >= b.d.size() ? a : b;
  const Nat& small = a.d.size() >= b.d.size() ? b : a;
  Nat r;
  r.d.resize(big.d.size() + 1);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < big.d.size(); ++i) {
    carry += big.d[i];
    if (i < small.d.size()) carry += small.d[i];
    r.d[i] = static_cast<Limb>(carry);
    carry >>= 32;
  }
  r.d[big.d.size()] = static_cast<Limb>(carry);
  r.trim();
  return r;
}

// a - b for a >= b.
Nat sub(const Nat& a, const Nat& b) {
  Nat r;
  r.d.resize(a.d.size());
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < a.d.size(); ++i) {
    std::int64_t v = static_cast<std::int64_t>(a.d[i]) - borrow;
    if (i < b.d.size()) v -= b.d[i];
    borrow = v < 0 ? 1 : 0;
    r.d[i] = static_cast<Limb>(v + (borrow << 32));
  }
  r.trim();
  return r;
}

Nat mul(const Nat& a, const Nat& b) {
  Nat r;
  if (a.zero() || b.zero()) return r;
  r.d.assign(a.d.size() + b.d.size(), 0);
  for (std::size_t i = 0; i < a.d.size(); ++i) {
    std::uint64_t carry = 0;
    const std::uint64_t ai = a.d[i];
    for (std::size_t j = 0; j < b.d.size(); ++j) {
      carry += ai * b.d[j] + r.d[i + j];
      r.d[i + j] = static_cast<Limb>(carry);
      carry >>= 32;
    }
    r.d[i + b.d.size()] = static_cast<Limb>(carry);
  }
  r.trim();
  return r;
}

Nat mul_small(const Nat& a, std::uint32_t m) {
  Nat r;
  r.d.resize(a.d.size() + 1);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < a.d.size(); ++i) {
    carry += static_cast<std::uint64_t>(a.d[i]) * m;
    r.d[i] = static_cast<Limb>(carry);
    carry >>= 32;
  }
  r.d[a.d.size()] = static_cast<Limb>(carry);
  r.trim();
  return r;
}

// floor(a / m), m > 0.
Nat div_small(const Nat& a, std::uint32_t m) {
  Nat r;
  r.d.resize(a.d.size());
  std::uint64_t rem = 0;
  for (std::size_t i = a.d.size(); i-- > 0;) {
    rem = (rem << 32) | a.d[i];
    r.d[i] = static_cast<Limb>(rem / m);
    rem %= m;
  }
  r.trim();
  return r;
}

Nat shl(const Nat& a, int n) {
  if (a.zero() || n == 0) return a;
  const std::size_t words = static_cast<std::size_t>(n) / 32;
  const int b = n % 32;
  Nat r;
  r.d.assign(a.d.size() + words + 1, 0);
  for (std::size_t i = 0; i < a.d.size(); ++i) {
    const std::uint64_t v = static_cast<std::uint64_t>(a.d[i]) << b;
    r.d[i + words] |= static_cast<Limb>(v);
    r.d[i + words + 1] |= static_cast<Limb>(v >> 32);
  }
  r.trim();
  return r;
}

// floor(a / 2^n).
Nat shr(const Nat& a, int n) {
  const std::size_t words = static_cast<std::size_t>(n) / 32;
  if (words >= a.d.size()) return Nat();
  const int b = n % 32;
  Nat r;
  r.d.resize(a.d.size() - words);
  for (std::size_t i = 0; i < r.d.size(); ++i) {
    std::uint64_t v = a.d[i + words];
    if (i + words + 1 < a.d.size()) v |= static_cast<std::uint64_t>(a.d[i + words + 1]) << 32;
    r.d[i] = static_cast<Limb>(v >> b);
  }
  r.trim();
  return r;
}

// ---------------------------------------------------------------------------
// Signed fixed-point numbers: value = (neg ? -mag : mag) * 2^-W.

struct Num {
  bool neg = false;
  Nat mag;
};

Num make(bool neg, Nat mag) {
  Num r;
  r.neg = neg && !mag.zero();
  r.mag = std::move(mag);
  return r;
}

Num add(const Num& a, const Num& b) {
  if (a.neg == b.neg) return make(a.neg, add(a.mag, b.mag));
  if (cmp(a.mag, b.mag) >= 0) return make(a.neg, sub(a.mag, b.mag));
  return make(b.neg, sub(b.mag, a.mag));
}

Num negate(const Num& a) { return make(!a.neg, a.mag); }

// a * b in fixed point, the magnitude truncated (error below one unit).
Num mul_fixed(const Num& a, const Num& b, int w) { return make(a.neg != b.neg, shr(mul(a.mag, b.mag), w)); }

// A rough double value of a * 2^-w (for choosing a reduction, not results).
double approx(const Num& a, int w) {
  const int n = a.mag.bits();
  double v;
  if (n <= 64) {
    v = std::ldexp(static_cast<double>(a.mag.low64()), -w);
  } else {
    v = std::ldexp(static_cast<double>(shr(a.mag, n - 64).low64()), n - 64 - w);
  }
  return a.neg ? -v : v;
}

// ---------------------------------------------------------------------------
// Rounding a natural number to p significant bits, to nearest, ties to even:
// a == 0 gives q == 0, otherwise the value is q * 2^e with 2^(p-1) <= q < 2^p.

struct Rounded {
  std::uint64_t q = 0;
  int e = 0;
  bool operator==(const Rounded& o) const { return q == o.q && e == o.e; }
};

Rounded round_to(const Nat& a, int p) {
  Rounded r;
  const int n = a.bits();
  if (n == 0) return r;
  if (n <= p) {
    r.q = a.low64() << (p - n);
    r.e = n - p;
    return r;
  }
  int s = n - p;
  r.q = shr(a, s).low64();
  const bool half = a.bit(s - 1);
  const bool sticky = a.any_below(s - 1);
  if (half && (sticky || (r.q & 1U) != 0)) {
    ++r.q;
    // Rounding up the largest significand carries into the next binade.
    if (p < 64 ? (r.q >> p) != 0 : r.q == 0) {
      r.q = std::uint64_t{1} << (p - 1);
      ++s;
    }
  }
  r.e = s;
  return r;
}

// ---------------------------------------------------------------------------
// The constants and series.

// ln 2 = 2 atanh(1/3) = 2 sum (1/3)^(2k+1) / (2k+1), to w fractional bits.
Num ln2_series(int w, std::uint64_t& err) {
  Nat term = div_small(shl(Nat(1), w), 3);
  Nat sum = term;
  std::uint64_t terms = 1;
  for (std::uint32_t k = 1;; ++k) {
    term = div_small(term, 9);
    if (term.zero()) break;
    sum = add(sum, div_small(term, 2 * k + 1));
    ++terms;
  }
  // Each term is off by less than 1.2 units after its two truncations; the
  // tail left out is below one unit; the doubling doubles it all.
  err = 3 * terms + 4;
  return make(false, shl(sum, 1));
}

// ln 2 to w fractional bits; up to 2048 bits it is cut from one evaluation at
// 2112 bits (off by under a unit there, so by at most 2 units after the cut).
Num ln2_fixed(int w, std::uint64_t& err) {
  constexpr int kStored = 2112;
  static const Num stored = [] {
    std::uint64_t e = 0;
    return ln2_series(kStored, e);
  }();
  if (w > kStored - 64) return ln2_series(w, err);
  err = 2;
  return make(false, shr(stored.mag, kStored - w));
}

// ln(m 2^e) for m = mant / 2^23, 2^23 <= mant < 2^24, to w fractional bits.
Num ln_fixed(std::uint32_t mant, int e, int w, std::uint64_t& err) {
  // m is brought into [sqrt(1/2), sqrt(2)) so that s = (m-1)/(m+1) has
  // |s| < 0.172 and the series ln m = 2 atanh s gains 5 bits a term.
  std::uint32_t c = std::uint32_t{1} << 23;
  if (mant > 11863283U) {  // sqrt(2) * 2^23 = 11863283.2
    c <<= 1;
    ++e;
  }
  const bool below_one = mant < c;
  const std::uint32_t num = below_one ? c - mant : mant - c;
  const std::uint32_t den = mant + c;
  Num result;
  std::uint64_t terms = 0;
  if (num != 0) {
    const Nat s = div_small(shl(Nat(num), w), den);
    const Nat s2 = shr(mul(s, s), w);
    Nat term = s;
    Nat sum = s;
    terms = 1;
    for (std::uint32_t k = 1;; ++k) {
      term = shr(mul(term, s2), w);
      if (term.zero()) break;
      sum = add(sum, div_small(term, 2 * k + 1));
      ++terms;
    }
    result = make(below_one, shl(sum, 1));
  }
  // s is off by one unit (2.1 units in ln m), s^2 by 1.4, each term by 1.2
  // before and one unit after its division; the tail is below two units.
  err = 6 * terms + 8;
  if (e != 0) {
    std::uint64_t err2 = 0;
    const Num l2 = ln2_fixed(w, err2);
    const std::uint32_t ae = static_cast<std::uint32_t>(e < 0 ? -e : e);
    result = add(result, make(e < 0, mul_small(l2.mag, ae)));
    err += ae * err2;
  }
  return result;
}

// e^t for t = T 2^-w (|t| < 130), T known to within errt units.  Returns Y
// with e^t = Y 2^-w 2^k, Y 2^-w in [0.69, 1.45], and its error in units.
Nat exp_fixed(const Num& t, std::uint64_t errt, int w, int& k, std::uint64_t& err) {
  std::uint64_t errl2 = 0;
  const Num l2 = ln2_fixed(w, errl2);
  // t = k ln 2 + r with |r| <= ln 2 / 2 (a little more: k comes from a double).
  const double q = approx(t, w) / 0.6931471805599453;
  k = static_cast<int>(q < 0 ? q - 0.5 : q + 0.5);
  const std::uint32_t ak = static_cast<std::uint32_t>(k < 0 ? -k : k);
  const Num r = add(t, make(k > 0, mul_small(l2.mag, ak)));
  const std::uint64_t errr = errt + ak * errl2;
  // e^r = (e^(r / 2^j))^(2^j); the Taylor series of the small argument gains
  // about 9.5 bits a term.
  constexpr int j = 8;
  const Num rj = make(r.neg, shr(r.mag, j));
  const std::uint64_t errrj = (errr >> j) + 2;
  Num sum = add(make(false, shl(Nat(1), w)), rj);
  Num term = rj;
  std::uint64_t terms = 1;
  for (std::uint32_t n = 2;; ++n) {
    term = mul_fixed(term, rj, w);
    term = make(term.neg, div_small(term.mag, n));
    if (term.mag.zero()) break;
    sum = add(sum, term);
    ++terms;
  }
  // Two units a term, the tail, and the argument's error (e^r' < 1.002).
  err = 2 * terms + 2 + 2 * errrj;
  Nat y = sum.mag;  // positive: e^r' is close to 1
  for (int i = 0; i < j; ++i) {
    // Every intermediate value is below 1.45, so squaring at most triples the
    // error, plus the truncation and the square of the error itself.
    y = shr(mul(y, y), w);
    err = 3 * err + 2;
  }
  return y;
}

// ---------------------------------------------------------------------------
// Helpers on the bits of a single.

std::uint32_t bits_of(float x) {
  std::uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

float float_of(std::uint32_t b) {
  float x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

bool is_nan(float x) { return (bits_of(x) & 0x7FFFFFFFU) > 0x7F800000U; }
bool is_inf(float x) { return (bits_of(x) & 0x7FFFFFFFU) == 0x7F800000U; }

// A finite non-zero |x| as mant * 2^(e-23) with 2^23 <= mant < 2^24.
void split(float x, std::uint32_t& mant, int& e) {
  const std::uint32_t b = bits_of(x) & 0x7FFFFFFFU;
  const int biased = static_cast<int>(b >> 23);
  mant = b & 0x7FFFFFU;
  if (biased != 0) {
    mant |= 0x800000U;
    e = biased - 127;
    return;
  }
  e = -126;
  while ((mant & 0x800000U) == 0) {
    mant <<= 1;
    --e;
  }
}

// The fixed-point value of |x| (exact when it has no bits below 2^-w).
Nat fixed_of(float x, int w) {
  std::uint32_t mant;
  int e;
  split(x, mant, e);
  const int s = w + e - 23;
  return s >= 0 ? shl(Nat(mant), s) : shr(Nat(mant), -s);
}

// Whether a finite y is an integer, and whether an odd one.
bool is_integer(float y) {
  std::uint32_t mant;
  int e;
  if ((bits_of(y) & 0x7FFFFFFFU) == 0) return true;
  split(y, mant, e);
  if (e >= 23) return true;
  if (e < 0) return false;
  return (mant & ((std::uint32_t{1} << (23 - e)) - 1)) == 0;
}

bool is_odd_integer(float y) {
  std::uint32_t mant;
  int e;
  if ((bits_of(y) & 0x7FFFFFFFU) == 0) return false;
  split(y, mant, e);
  if (e > 23 || e < 0) return false;
  const int s = 23 - e;
  return (mant & ((std::uint32_t{1} << s) - 1)) == 0 && ((mant >> s) & 1U) != 0;
}

const float kInf = float_of(0x7F800000U);
// The default NaN of the x87 and SSE units: negative, quiet, no payload.
const float kDefaultNaN = float_of(0xFFC00000U);

// A bound on the refinement, far beyond the 120-odd bits that the hardest
// known arguments of these functions need; never reached in practice.
constexpr int kMaxBits = 4096;

thread_local int attempts = 0;

// ---------------------------------------------------------------------------
// The double result of an exponential: Y 2^(-w+k) rounded to 53 bits, if the
// interval [Y - err, Y + err] decides it.

bool decide_double(const Nat& y, std::uint64_t err, int w, int k, bool force, double& out) {
  const Nat e(err);
  if (!force) {
    if (cmp(y, e) <= 0) return false;
    const Rounded lo = round_to(sub(y, e), 53);
    const Rounded hi = round_to(add(y, e), 53);
    if (!(lo == hi)) return false;
  }
  const Rounded mid = round_to(y, 53);
  out = std::ldexp(static_cast<double>(mid.q), mid.e - w + k);
  return true;
}

// The exact value of |base|^y when it is a dyadic number whose odd part fits
// in 64 bits: base = mant * 2^(e-23) > 0, y finite and non-zero.
bool exact_power(std::uint32_t mant, int e, float y, std::uint64_t& odd, std::int64_t& ex) {
  // base = bo * 2^be with bo odd.
  std::uint64_t bo = mant;
  std::int64_t be = e - 23;
  while ((bo & 1U) == 0) {
    bo >>= 1;
    ++be;
  }
  // y = yo * 2^ye with yo odd.
  std::uint32_t ym;
  int yexp;
  split(y, ym, yexp);
  std::int64_t yo = ym;
  std::int64_t ye = yexp - 23;
  while ((yo & 1) == 0) {
    yo >>= 1;
    ++ye;
  }
  if (bits_of(y) >> 31) yo = -yo;
  if (ye < 0) {
    // y = yo / 2^-ye: base must be the 2^-ye th power of a dyadic number.
    if (ye < -8) return false;
    const int k = static_cast<int>(-ye);
    const std::int64_t div = std::int64_t{1} << k;
    if (be % div != 0) return false;
    for (int i = 0; i < k; ++i) {
      std::uint64_t lo = 0, hi = 1U << 12;  // bo < 2^24
      while (lo < hi) {
        const std::uint64_t mid = (lo + hi + 1) / 2;
        if (mid * mid <= bo) lo = mid;
        else hi = mid - 1;
      }
      if (lo * lo != bo) return false;
      bo = lo;
    }
    be /= div;
  } else {
    if (ye > 32) return false;  // |y| >= 2^33: no such power is in range
    yo *= std::int64_t{1} << ye;
  }
  // Now the result is (bo * 2^be)^yo with yo an integer.
  if (bo != 1 && yo < 0) return false;  // 1 / odd is no dyadic number
  odd = 1;
  if (bo != 1) {
    for (std::int64_t i = 0; i < yo; ++i) {
      if (odd > ~std::uint64_t{0} / bo) return false;
      odd *= bo;
    }
  }
  ex = be * yo;
  return true;
}

double round_exact(std::uint64_t odd, std::int64_t ex) {
  const Rounded r = round_to(Nat(odd), 53);
  return std::ldexp(static_cast<double>(r.q), static_cast<int>(r.e + ex));
}


// ---------------------------------------------------------------------------
// The fast evaluation: double-double arithmetic (a value is an unevaluated
// sum hi + lo of two doubles), exact products by Dekker's splitting, no fused
// multiply-add.  It gives about 100 correct bits; a bound on its error decides
// whether its rounding is certain, and when it is not (about once in 2^25 for
// ln, less for exp and pow) the multi-word evaluation above takes over.  It
// needs each double operation rounded once to double, as on every target with
// SSE2, NEON or WebAssembly; where double expressions are evaluated wider
// only the multi-word evaluation is used.

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
constexpr bool kFastPath = true;
#else
constexpr bool kFastPath = false;
#endif

struct DD {
  double hi = 0, lo = 0;
};

DD two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// |a| >= |b| (or a == 0).
DD fast_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

void veltkamp(double a, double& h, double& l) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  h = c - (c - a);
  l = a - h;
}

DD two_prod(double a, double b) {
  const double p = a * b;
  double ah, al, bh, bl;
  veltkamp(a, ah, al);
  veltkamp(b, bh, bl);
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DD dd_add(const DD& a, const DD& b) {
  DD s = two_sum(a.hi, b.hi);
  const DD t = two_sum(a.lo, b.lo);
  s = fast_two_sum(s.hi, s.lo + t.hi);
  return fast_two_sum(s.hi, s.lo + t.lo);
}

DD dd_mul(const DD& a, const DD& b) {
  DD p = two_prod(a.hi, b.hi);
  return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

DD dd_mul_d(const DD& a, double b) {
  DD p = two_prod(a.hi, b);
  return fast_two_sum(p.hi, p.lo + a.lo * b);
}

// 1/n to double-double accuracy.
DD reciprocal(double n) {
  const double hi = 1.0 / n;
  const DD p = two_prod(hi, n);
  return {hi, ((1.0 - p.hi) - p.lo) / n};
}

std::uint64_t dbits(double x) {
  std::uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// The top `bits` significant bits of v * 2^-w as a double, taken out of v.
double take_bits(Num& v, int w, int bits) {
  const int n = v.mag.bits();
  if (n == 0) return 0.0;
  const int s = n > bits ? n - bits : 0;
  const Nat top = shr(v.mag, s);
  const bool neg = v.neg;
  v = make(neg, sub(v.mag, shl(top, s)));
  const double d = std::ldexp(static_cast<double>(top.low64()), s - w);
  return neg ? -d : d;
}

// The double-double nearest to v * 2^-w (within 2^-105 of it).
DD dd_of(const Num& v, int w) {
  Num rest = v;
  const double hi = take_bits(rest, w, 53);
  const Rounded r = round_to(rest.mag, 53);
  const double lo = std::ldexp(static_cast<double>(r.q), r.e - w);
  return fast_two_sum(hi, rest.neg ? -lo : lo);
}

}  // namespace

namespace elementary_detail {

FastConstants derived_constants() {
  FastConstants c{};
  constexpr int w = 192;
  std::uint64_t err = 0;
  Num l2 = ln2_fixed(w, err);
  const Num l2_copy = l2;
  c.ln2[0] = take_bits(l2, w, 39);
  c.ln2[1] = take_bits(l2, w, 39);
  c.ln2[2] = take_bits(l2, w, 53);
  for (int k = 91; k <= 181; ++k) {
    // ln c_k = ln(R_k) - 16 ln 2, with R_k brought to 24 bits.
    std::uint32_t mant = static_cast<std::uint32_t>(((std::int64_t{1} << 24) / k + 1) / 2);
    int sh = 0;
    while (mant < 0x800000U) {
      mant <<= 1;
      ++sh;
    }
    const DD lc = dd_of(ln_fixed(mant, 23 - sh - 16, w, err), w);
    c.ln_c[k - 91][0] = lc.hi;
    c.ln_c[k - 91][1] = lc.lo;
  }
  for (int j = 0; j < 64; ++j) {
    // 2^(j/64) = e^(j ln2 / 64).
    const Num t = make(false, shr(mul_small(l2_copy.mag, static_cast<std::uint32_t>(j)), 6));
    int k = 0;
    const Nat y = exp_fixed(t, 4, w, k, err);
    const DD e = dd_of(make(false, k >= 0 ? shl(y, k) : shr(y, -k)), w);
    c.exp2[j][0] = e.hi;
    c.exp2[j][1] = e.lo;
  }
  return c;
}

const FastConstants& stored_constants() {
  static constexpr FastConstants c = {
#include "core/elementary_constants.inc"
  };
  return c;
}

}  // namespace elementary_detail

namespace {

// The constants of the double-double evaluation, with the coefficients of
// its series.
struct FastTables {
  double ln2[3];
  std::int64_t r[91];  // R_k = round(2^23 / k), c_k = R_k / 2^16
  DD ln_c[91];
  DD exp2[64];
  DD third, fifth, sixth, inv24;
  // (-1)^(n+1) / n and 1 / n! for the tails of the series, in double.
  double ln_coef[17];
  double exp_coef[11];

  FastTables() {
    const elementary_detail::FastConstants& c = elementary_detail::stored_constants();
    for (int i = 0; i < 3; ++i) ln2[i] = c.ln2[i];
    for (int k = 91; k <= 181; ++k) {
      r[k - 91] = ((std::int64_t{1} << 24) / k + 1) / 2;
      ln_c[k - 91] = {c.ln_c[k - 91][0], c.ln_c[k - 91][1]};
    }
    for (int j = 0; j < 64; ++j) exp2[j] = {c.exp2[j][0], c.exp2[j][1]};
    third = reciprocal(3);
    fifth = reciprocal(5);
    sixth = reciprocal(6);
    inv24 = reciprocal(24);
    double fact = 1;
    for (int n = 1; n <= 16; ++n) {
      ln_coef[n] = ((n % 2) != 0 ? 1.0 : -1.0) / n;
      if (n <= 10) {
        fact *= n;
        exp_coef[n] = 1.0 / fact;
      }
    }
  }
};

const FastTables& tables() {
  static const FastTables t;
  return t;
}

// ln(mant 2^(e-23)) as a double-double, within 2^-88 of its magnitude.
DD ln_dd(std::uint32_t mant, int e) {
  const FastTables& tb = tables();
  int shift = 23;  // m = mant / 2^shift, brought into [sqrt(1/2), sqrt(2))
  if (mant > 11863283U) {
    shift = 24;
    ++e;
  }
  const int k = static_cast<int>((mant + (std::uint32_t{1} << (shift - 8))) >> (shift - 7));  // round(128 m)
  // r = m c_k - 1, exact: |r| < 2^-7.4.
  const std::int64_t d = static_cast<std::int64_t>(mant) * tb.r[k - 91] - (std::int64_t{1} << (shift + 16));
  const double r = std::ldexp(static_cast<double>(d), -(shift + 16));
  // ln(1 + r) = r + r^2 (-1/2 + r (1/3 + r (-1/4 + r (1/5 + r (-1/6 + r T))))),
  // T = 1/7 - r/8 + ... in plain double (its error stays below 2^-98 r).
  double t = 0;
  for (int n = 16; n >= 7; --n) t = t * r + tb.ln_coef[n];
  DD p{t, 0};
  p = dd_add(dd_mul_d(p, r), DD{-tb.sixth.hi, -tb.sixth.lo});
  p = dd_add(dd_mul_d(p, r), tb.fifth);
  p = dd_add(dd_mul_d(p, r), DD{-0.25, 0});
  p = dd_add(dd_mul_d(p, r), tb.third);
  p = dd_add(dd_mul_d(p, r), DD{-0.5, 0});
  DD v = dd_add(DD{r, 0}, dd_mul(p, two_prod(r, r)));
  // - ln c_k + e ln 2 (e times the first two parts is exact).
  const DD lc = tb.ln_c[k - 91];
  v = dd_add(v, DD{-lc.hi, -lc.lo});
  if (e != 0) {
    const double ed = e;
    DD el = two_sum(ed * tb.ln2[0], ed * tb.ln2[1]);
    el = dd_add(el, DD{ed * tb.ln2[2], 0});
    v = dd_add(v, el);
  }
  return v;
}

// e^t for a double-double t, |t| < 121, within 2^-96 of its magnitude (plus
// what the error of t makes).
DD exp_dd(const DD& t) {
  const FastTables& tb = tables();
  // t = n ln2/64 + r, |r| <= ln2/128 (a little more), n = 64 q + j.
  const double z = t.hi * 92.33248261689366;  // 64 / ln 2
  const int n = static_cast<int>(z < 0 ? z - 0.5 : z + 0.5);
  const double nd = n;
  // t.hi - n ln2[0]/64 is exact (the two are within a factor of 2 unless n = 0).
  const double a = t.hi - nd * std::ldexp(tb.ln2[0], -6);
  DD r = two_sum(a, -nd * std::ldexp(tb.ln2[1], -6));
  r = dd_add(r, DD{t.lo - nd * std::ldexp(tb.ln2[2], -6), 0});
  // e^r = 1 + r (1 + r (1/2 + r (1/6 + r (1/24 + r T)))), T = 1/120 + ...
  double tail = 0;
  for (int k = 10; k >= 5; --k) tail = tail * r.hi + tb.exp_coef[k];
  DD p{tail, 0};
  p = dd_add(dd_mul(p, r), tb.inv24);
  p = dd_add(dd_mul(p, r), tb.sixth);
  p = dd_add(dd_mul(p, r), DD{0.5, 0});
  p = dd_add(dd_mul(p, r), DD{1.0, 0});
  p = dd_add(dd_mul(p, r), DD{1.0, 0});
  const int j = ((n % 64) + 64) % 64;
  const int q = (n - j) / 64;
  p = dd_mul(p, tb.exp2[j]);
  return {std::ldexp(p.hi, q), std::ldexp(p.lo, q)};
}

// The double nearest to v, if v's relative error bound decides it.
bool decide_double_fast(const DD& v, double rel_err, double& out) {
  const double hi = v.hi < 0 ? -v.hi : v.hi;
  const double lo = v.lo < 0 ? -v.lo : v.lo;
  const std::uint64_t b = dbits(hi);
  const double ulp = std::ldexp(1.0, static_cast<int>((b >> 52) & 0x7FF) - 1023 - 52);
  // Below a power of two the doubles are twice as dense: there the interval
  // must stay within a quarter unit on either side.
  const bool power = (b & 0xFFFFFFFFFFFFFULL) == 0;
  if (!(lo + rel_err * hi < (power ? 0.25 : 0.5) * ulp)) return false;
  out = v.hi;
  return true;
}

// The 64-bit significand nearest to v, if v's relative error bound decides it.
bool decide_ext_fast(const DD& v, double rel_err, ExtParts& out) {
  const bool neg = v.hi < 0;
  const double hi = neg ? -v.hi : v.hi;
  const double lo = neg ? -v.lo : v.lo;
  const std::uint64_t b = dbits(hi);
  if ((b & 0xFFFFFFFFFFFFFULL) == 0) return false;
  const int ex = static_cast<int>((b >> 52) & 0x7FF) - 1023;
  // hi is a multiple of 2^(ex-52); the 64-bit grid is 2^(ex-63); lo is below
  // half a unit of hi, so it moves the result by a few hundred grid steps.
  const double z = std::ldexp(lo, 63 - ex);
  const double qd = static_cast<double>(static_cast<std::int64_t>(z < 0 ? z - 0.5 : z + 0.5));
  const double f = z - qd;
  const double err = rel_err * std::ldexp(hi, 63 - ex);
  if (!((f < 0 ? -f : f) + err < 0.5)) return false;
  const std::uint64_t sig = (((b & 0xFFFFFFFFFFFFFULL) | (std::uint64_t{1} << 52)) << 11) +
                            static_cast<std::uint64_t>(static_cast<std::int64_t>(qd));
  out = {ExtParts::Kind::Finite, neg, ex, sig};
  return true;
}

constexpr double kLnRelErr = 0x1p-88;
constexpr double kExpRelErr = 0x1p-94;

float pow_impl(float base, float expo, int start_bits, bool fast);

}  // namespace

namespace elementary_detail {

int last_attempts() { return attempts; }

ExtParts ln_single_from(float x, int start_bits) {
  attempts = 0;
  const std::uint32_t b = bits_of(x);
  const bool sign = (b >> 31) != 0;
  if (is_nan(x)) {
    const std::uint64_t payload = b & 0x3FFFFFU;
    return {ExtParts::Kind::NaN, sign, 16384, (std::uint64_t{3} << 62) | (payload << 40)};
  }
  if ((b & 0x7FFFFFFFU) == 0) return {ExtParts::Kind::Infinite, true, 16384, std::uint64_t{1} << 63};
  if (sign) return {ExtParts::Kind::NaN, true, 16384, std::uint64_t{3} << 62};
  if (is_inf(x)) return {ExtParts::Kind::Infinite, false, 16384, std::uint64_t{1} << 63};
  if (x == 1.0f) return {ExtParts::Kind::Finite, false, 0, 0};

  std::uint32_t mant;
  int e;
  split(x, mant, e);
  for (int w = start_bits < 8 ? 8 : start_bits;; w *= 2) {
    ++attempts;
    std::uint64_t err = 0;
    const Num v = ln_fixed(mant, e, w, err);
    const Num eb = make(false, Nat(err));
    const Num lo = add(v, negate(eb));
    const Num hi = add(v, eb);
    const bool last = w >= kMaxBits;
    // ln x is at least 2^-25 away from 0, so a decided interval has one sign.
    if (last || (!lo.mag.zero() && !hi.mag.zero() && lo.neg == hi.neg)) {
      const Rounded a = round_to(lo.mag, 64);
      const Rounded c = round_to(hi.mag, 64);
      if (last || a == c) {
        const Rounded r = round_to(v.mag, 64);
        return {ExtParts::Kind::Finite, v.neg, r.e - w + 63, r.q};
      }
    }
  }
}

float exp_single_from(float x, int start_bits) {
  attempts = 0;
  if (is_nan(x)) return x + x;
  const std::uint32_t b = bits_of(x);
  const bool sign = (b >> 31) != 0;
  if (is_inf(x)) return sign ? 0.0f : kInf;
  const std::uint32_t mag = b & 0x7FFFFFFFU;
  // |x| < 2^-26: e^x and its nearest double are within 2^-25 of 1, closer
  // than half a unit of a single on either side of 1: the single is 1.
  if (mag < 0x32800000U) return 1.0f;
  // Beyond +-120 the double is far outside the range of a single (e^89 is
  // above its largest value, e^-104 below half its smallest).
  if (mag > 0x42F00000U) return sign ? 0.0f : kInf;
  // From here on x is a multiple of 2^-49: from 49 fractional bits on the
  // fixed point holds it exactly, below that it is truncated.
  const int start = start_bits < 8 ? 8 : start_bits;
  for (int w = start;; w *= 2) {
    ++attempts;
    int k = 0;
    std::uint64_t err = 0;
    const Num tw = make(sign, fixed_of(x, w));
    const Nat y = exp_fixed(tw, w >= 49 ? 0 : 1, w, k, err);
    double d;
    if (decide_double(y, err, w, k, w >= kMaxBits, d)) return static_cast<float>(d);
  }
}

float pow_single_from(float base, float expo, int start_bits) { return pow_impl(base, expo, start_bits, false); }

}  // namespace elementary_detail

namespace {

// pow, with the fast evaluation first when `fast`.
float pow_impl(float base, float expo, int start_bits, bool fast) {
  attempts = 0;
  const std::uint32_t bb = bits_of(base);
  const std::uint32_t by = bits_of(expo);
  const bool bneg = (bb >> 31) != 0;
  const bool yneg = (by >> 31) != 0;
  if ((by & 0x7FFFFFFFU) == 0) return 1.0f;  // x^0 = 1, even for a NaN x
  if (bb == 0x3F800000U) return 1.0f;        // 1^y = 1, even for a NaN y
  if (is_nan(base) || is_nan(expo)) return base + expo;

  const float abs_base = float_of(bb & 0x7FFFFFFFU);
  if (is_inf(expo)) {
    if (abs_base == 1.0f) return 1.0f;  // (-1)^+-inf
    const bool grows = (abs_base > 1.0f) != yneg;
    return grows ? kInf : 0.0f;
  }
  const bool odd = is_odd_integer(expo);
  const bool neg_result = bneg && odd;
  if ((bb & 0x7FFFFFFFU) == 0 || is_inf(base)) {
    // A zero or an infinite base: 0^y and inf^y are a zero or an infinity;
    // the sign is the base's for an odd integer y.
    const bool infinite = is_inf(base) != yneg;
    const float r = infinite ? kInf : 0.0f;
    return neg_result ? -r : r;
  }
  if (bneg && !is_integer(expo)) return kDefaultNaN;
  if (abs_base == 1.0f) return neg_result ? -1.0f : 1.0f;

  std::uint32_t mant;
  int e;
  split(abs_base, mant, e);
  const int start = start_bits < 8 ? 8 : start_bits;
  const double yd = static_cast<double>(expo);

  // A first look at y ln|base| decides overflow and underflow: beyond +-120
  // the result is far outside the range of a single either way.
  DD l_fast;
  {
    double l;
    if (kFastPath) {
      l_fast = ln_dd(mant, e);
      l = l_fast.hi;
    } else {
      std::uint64_t err;
      l = approx(ln_fixed(mant, e, 64, err), 64);
    }
    const double t = l * yd;
    if (t > 120.0 || t < -120.0) {
      const float r = t > 0 ? kInf : 0.0f;
      return neg_result ? -r : r;
    }
  }
  // Within range: |y| < 120 / |ln|base|| < 2^32, since |ln|base|| >= 2^-25.
  std::uint64_t odd_part;
  std::int64_t ex;
  if (exact_power(mant, e, expo, odd_part, ex)) {
    const float r = static_cast<float>(round_exact(odd_part, ex));
    return neg_result ? -r : r;
  }

  if (fast && kFastPath) {
    // t = y ln|base| within |t| 2^-88; e^t within 2^-94 more.
    const DD t = dd_mul_d(l_fast, yd);
    const double at = t.hi < 0 ? -t.hi : t.hi;
    double d;
    if (decide_double_fast(exp_dd(t), kExpRelErr + at * (kLnRelErr * 1.01), d)) {
      const float r = static_cast<float>(d);
      return neg_result ? -r : r;
    }
  }

  std::uint32_t ym;
  int yexp;
  split(expo, ym, yexp);
  for (int w = start;; w *= 2) {
    ++attempts;
    // ln|base| to 64 more bits than t needs, so that multiplying by |y| keeps
    // its error within a unit or two.
    constexpr int extra = 64;
    std::uint64_t errl = 0;
    const Num l = ln_fixed(mant, e, w + extra, errl);
    // t = l * ym * 2^(yexp-23), brought to w fractional bits.
    const int s = extra - (yexp - 23);
    const Nat prod = mul_small(l.mag, ym);
    const Nat tm = s >= 0 ? shr(prod, s) : shl(prod, -s);
    // (s > 0 here: |y| < 2^33.)  The error of l, times |y|, in units of 2^-w.
    const std::uint64_t errt = (s >= 64 ? 0 : s >= 0 ? (errl * ym) >> s : (errl * ym) << -s) + 2;
    const Num t = make(l.neg != yneg, tm);
    int k = 0;
    std::uint64_t err = 0;
    const Nat y = exp_fixed(t, errt, w, k, err);
    double d;
    if (decide_double(y, err, w, k, w >= kMaxBits, d)) {
      const float r = static_cast<float>(d);
      return neg_result ? -r : r;
    }
  }
}

}  // namespace

namespace {

ExtParts ln_single_uncached(float x) {
  const std::uint32_t b = bits_of(x);
  // Positive, finite, not zero and not 1: the double-double evaluation first.
  if (kFastPath && b - 1 < 0x7F7FFFFFU && b != 0x3F800000U) {
    std::uint32_t mant;
    int e;
    split(x, mant, e);
    ExtParts out;
    if (decide_ext_fast(ln_dd(mant, e), kLnRelErr, out)) {
      attempts = 0;
      return out;
    }
  }
  return elementary_detail::ln_single_from(x, 160);
}

}  // namespace

ExtParts ln_single(float x) {
  // The curve sums take the logarithm of the same x and y several times for
  // each pair; the last two arguments and their logarithms are kept, so each
  // datum's logarithm is worked out once.  The result depends on the argument
  // alone, so what is kept never changes a value.
  struct Kept {
    std::uint32_t bits;
    ExtParts value;
  };
  thread_local Kept kept[2] = {{0x3F800000U, {ExtParts::Kind::Finite, false, 0, 0}},
                               {0x3F800000U, {ExtParts::Kind::Finite, false, 0, 0}}};
  thread_local int next = 0;
  const std::uint32_t b = bits_of(x);
  for (const Kept& k : kept) {
    if (k.bits == b) {
      attempts = 0;
      return k.value;
    }
  }
  const ExtParts value = ln_single_uncached(x);
  kept[next] = {b, value};
  next ^= 1;
  return value;
}

float exp_single(float x) {
  const std::uint32_t mag = bits_of(x) & 0x7FFFFFFFU;
  // 2^-26 <= |x| <= 120: the double-double evaluation first.
  if (kFastPath && mag >= 0x32800000U && mag <= 0x42F00000U) {
    double d;
    if (decide_double_fast(exp_dd(DD{static_cast<double>(x), 0}), kExpRelErr, d)) {
      attempts = 0;
      return static_cast<float>(d);
    }
  }
  return elementary_detail::exp_single_from(x, 128);
}

float pow_single(float base, float expo) { return pow_impl(base, expo, 128, true); }

}  // namespace amostra
