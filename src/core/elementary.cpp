// Correctly rounded ln, exp and pow on multi-word integers.
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
  // |x| < 2^-60: e^x is within 2^-60 of 1, so its nearest double is 1.
  if (mag < 0x21800000U) return 1.0f;
  // Beyond +-120 the double is far outside the range of a single (e^89 is
  // above its largest value, e^-104 below half its smallest).
  if (mag > 0x42F00000U) return sign ? 0.0f : kInf;
  // From here on x is a multiple of 2^-83: from 83 fractional bits on the
  // fixed point holds it exactly, below that it is truncated.
  const int start = start_bits < 8 ? 8 : start_bits;
  for (int w = start;; w *= 2) {
    ++attempts;
    int k = 0;
    std::uint64_t err = 0;
    const Num tw = make(sign, fixed_of(x, w));
    const Nat y = exp_fixed(tw, w >= 83 ? 0 : 1, w, k, err);
    double d;
    if (decide_double(y, err, w, k, w >= kMaxBits, d)) return static_cast<float>(d);
  }
}

float pow_single_from(float base, float expo, int start_bits) {
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
  {
    std::uint64_t err;
    const double l = approx(ln_fixed(mant, e, 64, err), 64);
    const double t = l * yd;
    if (t > 120.0 || t < -120.0) {
      ++attempts;
      const float r = t > 0 ? kInf : 0.0f;
      return neg_result ? -r : r;
    }
  }
  // Within range: |y| < 120 / |ln|base|| < 2^32, since |ln|base|| >= 2^-25.
  std::uint64_t odd_part;
  std::int64_t ex;
  if (exact_power(mant, e, expo, odd_part, ex)) {
    ++attempts;
    const float r = static_cast<float>(round_exact(odd_part, ex));
    return neg_result ? -r : r;
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

}  // namespace elementary_detail

ExtParts ln_single(float x) { return elementary_detail::ln_single_from(x, 160); }
float exp_single(float x) { return elementary_detail::exp_single_from(x, 128); }
float pow_single(float base, float expo) { return elementary_detail::pow_single_from(base, expo, 128); }

}  // namespace amostra
