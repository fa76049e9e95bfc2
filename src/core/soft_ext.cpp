#include "core/soft_ext.hpp"

#include <climits>
#include <cstring>

namespace amostra {

namespace {

constexpr int kBias = 16383;
constexpr int kExpMax = 0x7FFF;
constexpr std::uint64_t kTop = 0x8000000000000000ull;
constexpr std::uint64_t kQuiet = 0x4000000000000000ull;

inline int clz64(std::uint64_t x) {  // x != 0
#if defined(__GNUC__) || defined(__clang__)
  return __builtin_clzll(x);
#else
  int n = 0;
  while (!(x & kTop)) {
    x <<= 1;
    ++n;
  }
  return n;
#endif
}

// An unsigned 128-bit number as two halves.
struct U128 {
  std::uint64_t hi, lo;
};

inline bool is_zero(U128 a) { return (a.hi | a.lo) == 0; }
inline bool less(U128 a, U128 b) { return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo); }

inline U128 add(U128 a, U128 b, bool& carry) {
  U128 r{a.hi + b.hi, a.lo + b.lo};
  std::uint64_t c = r.lo < a.lo;
  r.hi += c;
  carry = r.hi < a.hi || (c && r.hi == a.hi);
  return r;
}
inline U128 sub(U128 a, U128 b) {  // a >= b
  U128 r{a.hi - b.hi, a.lo - b.lo};
  if (a.lo < b.lo) --r.hi;
  return r;
}
inline U128 shl(U128 a, int n) {  // 0 <= n < 128
  if (n == 0) return a;
  if (n >= 64) return {a.lo << (n - 64), 0};
  return {(a.hi << n) | (a.lo >> (64 - n)), a.lo << n};
}
// Shifted right by n >= 0; any bit shifted out is ORed into the lowest bit,
// so the result still tells an exact value from an inexact one.
inline U128 shr_sticky(U128 a, long n) {
  if (n == 0) return a;
  if (n >= 128) return {0, is_zero(a) ? 0u : 1u};
  if (n >= 64) {
    std::uint64_t lost = a.lo | (n > 64 ? a.hi << (128 - n) : 0);
    return {0, (n == 64 ? a.hi : a.hi >> (n - 64)) | (lost != 0)};
  }
  std::uint64_t lost = a.lo << (64 - n);
  return {a.hi >> n, (a.lo >> n) | (a.hi << (64 - n)) | (lost != 0)};
}
inline int clz128(U128 a) { return a.hi ? clz64(a.hi) : 64 + clz64(a.lo); }

inline U128 mul64(std::uint64_t a, std::uint64_t b) {
#ifdef AMOSTRA_HAVE_INT128
  unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (mid << 32) | (p00 & 0xFFFFFFFFu)};
#endif
}

// (hi:lo) / d with hi < d, so that the quotient fits 64 bits.
inline std::uint64_t div128(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t& rem) {
#ifdef AMOSTRA_HAVE_INT128
  unsigned __int128 n = (static_cast<unsigned __int128>(hi) << 64) | lo;
  std::uint64_t q = static_cast<std::uint64_t>(n / d);
  rem = static_cast<std::uint64_t>(n - static_cast<unsigned __int128>(q) * d);
  return q;
#else
  // Long division by 32-bit digits (d normalised: top bit set here).
  const std::uint64_t b = 1ull << 32;
  int s = clz64(d);
  d <<= s;
  if (s) {
    hi = (hi << s) | (lo >> (64 - s));
    lo <<= s;
  }
  std::uint64_t dn1 = d >> 32, dn0 = d & 0xFFFFFFFFu;
  std::uint64_t un1 = lo >> 32, un0 = lo & 0xFFFFFFFFu;
  std::uint64_t q1 = hi / dn1, rhat = hi - q1 * dn1;
  while (q1 >= b || q1 * dn0 > b * rhat + un1) {
    --q1;
    rhat += dn1;
    if (rhat >= b) break;
  }
  std::uint64_t un21 = hi * b + un1 - q1 * d;
  std::uint64_t q0 = un21 / dn1;
  rhat = un21 - q0 * dn1;
  while (q0 >= b || q0 * dn0 > b * rhat + un0) {
    --q0;
    rhat += dn1;
    if (rhat >= b) break;
  }
  rem = (un21 * b + un0 - q0 * d) >> s;
  return q1 * b + q0;
#endif
}

// A finite nonzero number taken apart: value = sig × 2^(exp − 63), with the
// top bit of sig set (subnormals normalised).
struct Parts {
  bool neg;
  int exp;
  std::uint64_t sig;
};

inline std::uint16_t sign_bit(bool neg) { return neg ? 0x8000 : 0; }

inline bool nan_bits(std::uint16_t se, std::uint64_t m) { return (se & kExpMax) == kExpMax && (m << 1) != 0; }
inline bool inf_bits(std::uint16_t se, std::uint64_t m) { return (se & kExpMax) == kExpMax && (m << 1) == 0; }

inline Parts unpack(std::uint16_t se, std::uint64_t m) {
  int e = se & kExpMax;
  Parts p{(se & 0x8000) != 0, e - kBias, m};
  if (e == 0) {
    int s = clz64(m);
    p.sig = m << s;
    p.exp = 1 - kBias - s;
  }
  return p;
}

// Rounds value = sig × 2^(exp − 127) (top bit of sig set) to nearest even in
// the extended format, subnormals and overflow included.
SoftExt round_pack(bool neg, long exp, U128 sig) {
  long e = exp + kBias;
  if (e >= kExpMax) return SoftExt::infinity(neg);
  if (e <= 0) {
    sig = shr_sticky(sig, 1 - e);
    e = 0;
  }
  std::uint64_t hi = sig.hi;
  if (sig.lo > kTop || (sig.lo == kTop && (hi & 1))) {
    ++hi;
    if (hi == 0) {
      hi = kTop;
      if (++e >= kExpMax) return SoftExt::infinity(neg);
    } else if (e == 0 && (hi & kTop)) {
      e = 1;
    }
  }
  return SoftExt::from_bits(static_cast<std::uint16_t>(sign_bit(neg) | e), hi);
}

// The not-a-number an operation on a not-a-number gives: a quiet operand
// before a signalling one, otherwise the larger significand (the positive one
// when they are equal), always quieted.
SoftExt propagate(SoftExt a, SoftExt b) {
  bool an = a.is_nan(), bn = b.is_nan();
  SoftExt r = a;
  if (an && bn) {
    bool aq = a.significand() & kQuiet, bq = b.significand() & kQuiet;
    if (aq != bq) {
      r = aq ? a : b;
    } else if (a.significand() != b.significand()) {
      r = a.significand() > b.significand() ? a : b;
    } else {
      r = a.is_negative() ? b : a;
    }
  } else if (bn) {
    r = b;
  }
  return SoftExt::from_bits(r.sign_exponent(), r.significand() | kQuiet);
}

inline bool is_zero_bits(std::uint64_t m) { return m == 0; }  // exponent 0 implied for canonical zeros

SoftExt add_signed(SoftExt a, SoftExt b, bool negate_b) {
  std::uint16_t sa = a.sign_exponent(), sb = b.sign_exponent();
  std::uint64_t ma = a.significand(), mb = b.significand();
  if (nan_bits(sa, ma) || nan_bits(sb, mb)) return propagate(a, b);
  bool na = sa & 0x8000, nb = ((sb & 0x8000) != 0) != negate_b;
  if (inf_bits(sa, ma)) {
    if (inf_bits(sb, mb) && na != nb) return SoftExt::default_nan();
    return SoftExt::infinity(na);
  }
  if (inf_bits(sb, mb)) return SoftExt::infinity(nb);
  if (is_zero_bits(mb)) {
    if (is_zero_bits(ma)) return SoftExt::from_bits(sign_bit(na && nb), 0);
    return a;
  }
  if (is_zero_bits(ma)) return SoftExt::from_bits(static_cast<std::uint16_t>(sign_bit(nb) | (sb & kExpMax)), mb);
  Parts x = unpack(sa, ma), y = unpack(sb, mb);
  y.neg = nb;
  if (x.exp < y.exp || (x.exp == y.exp && x.sig < y.sig)) {
    Parts t = x;
    x = y;
    y = t;
  }
  U128 big{x.sig, 0};
  U128 small = shr_sticky(U128{y.sig, 0}, static_cast<long>(x.exp) - y.exp);
  long exp = x.exp;
  if (x.neg == y.neg) {
    bool carry;
    U128 s = add(big, small, carry);
    if (carry) {
      s = shr_sticky(s, 1);
      s.hi |= kTop;
      ++exp;
    }
    return round_pack(x.neg, exp, s);
  }
  U128 d = sub(big, small);
  if (is_zero(d)) return SoftExt();
  int s = clz128(d);
  return round_pack(x.neg, exp - s, shl(d, s));
}

// The x87 unit's rounding of an exact result below an unrounded tail:
// the tail's class (zero, below half, half, above half) as a low word.
inline std::uint64_t tail_word(bool nonzero, bool above_half, bool half) {
  if (!nonzero) return 0;
  if (half) return kTop;
  return above_half ? 0xC000000000000000ull : 0x4000000000000000ull;
}

}  // namespace

SoftExt SoftExt::from_float_general(std::uint32_t b) {
  bool neg = b >> 31;
  int e = (b >> 23) & 0xFF;
  std::uint64_t frac = b & 0x7FFFFFu;
  if (e == 0xFF) {
    if (frac == 0) return infinity(neg);
    return from_bits(static_cast<std::uint16_t>(sign_bit(neg) | kExpMax), kTop | kQuiet | (frac << 40));
  }
  if (e == 0) {
    if (frac == 0) return from_bits(sign_bit(neg), 0);
    int s = clz64(frac);
    // frac × 2^-149 = (frac << s) × 2^(-149 - s)
    return from_bits(static_cast<std::uint16_t>(sign_bit(neg) | (kBias + 63 - 149 - s)), frac << s);
  }
  return from_bits(static_cast<std::uint16_t>(sign_bit(neg) | (e - 127 + kBias)), kTop | (frac << 40));
}

SoftExt SoftExt::from_scaled(bool negative, std::int32_t exponent, std::uint64_t significand) {
  if (significand == 0) return from_bits(sign_bit(negative), 0);
  int s = clz64(significand);
  return round_pack(negative, static_cast<long>(exponent) - s, U128{significand << s, 0});
}

float SoftExt::to_float_general() const {
  std::uint32_t sign = (se_ & 0x8000) ? 0x80000000u : 0u;
  std::uint32_t bits;
  if (nan_bits(se_, m_)) {
    bits = sign | 0x7FC00000u | static_cast<std::uint32_t>((m_ >> 40) & 0x7FFFFFu);
  } else if (inf_bits(se_, m_)) {
    bits = sign | 0x7F800000u;
  } else if (m_ == 0) {
    bits = sign;
  } else {
    Parts p = unpack(se_, m_);
    long ef = static_cast<long>(p.exp) + 127;
    std::uint64_t keep, rest, half;
    if (ef >= 255) {
      keep = 0x7F800000u;
      rest = half = 1;
    } else if (ef >= 1) {
      keep = (static_cast<std::uint64_t>(ef - 1) << 23) + (p.sig >> 40);
      rest = p.sig & ((1ull << 40) - 1);
      half = 1ull << 39;
    } else {
      long shift = 41 - ef;
      if (shift > 64) {
        keep = 0;
        rest = 1;
        half = 2;  // below half of the least subnormal
      } else if (shift == 64) {
        keep = 0;
        rest = p.sig;
        half = kTop;
      } else {
        keep = p.sig >> shift;
        rest = p.sig & ((1ull << shift) - 1);
        half = 1ull << (shift - 1);
      }
    }
    if (rest > half || (rest == half && (keep & 1))) ++keep;
    if (keep > 0x7F800000u) keep = 0x7F800000u;
    bits = sign | static_cast<std::uint32_t>(keep);
  }
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

int SoftExt::trunc_int() const {
  if (is_nan()) return INT_MIN;
  int e = se_ & kExpMax;
  if (m_ == 0 || e < kBias) return 0;
  if (e - kBias >= 31) return INT_MIN;
  std::int64_t u = static_cast<std::int64_t>(m_ >> (63 - (e - kBias)));
  return static_cast<int>(is_negative() ? -u : u);
}

SoftExt SoftExt::add_general(SoftExt a, SoftExt b, bool negate_b) { return add_signed(a, b, negate_b); }

SoftExt SoftExt::mul_general(SoftExt a, SoftExt b) {
  std::uint16_t sa = a.se_, sb = b.se_;
  if (nan_bits(sa, a.m_) || nan_bits(sb, b.m_)) return propagate(a, b);
  bool neg = ((sa ^ sb) & 0x8000) != 0;
  bool ia = inf_bits(sa, a.m_), ib = inf_bits(sb, b.m_);
  if (ia || ib) {
    if (a.m_ == 0 || b.m_ == 0) return SoftExt::default_nan();
    return SoftExt::infinity(neg);
  }
  if (a.m_ == 0 || b.m_ == 0) return SoftExt::from_bits(sign_bit(neg), 0);
  Parts x = unpack(sa, a.m_), y = unpack(sb, b.m_);
  U128 p = mul64(x.sig, y.sig);
  long exp = static_cast<long>(x.exp) + y.exp + 1;
  if (!(p.hi & kTop)) {
    p = shl(p, 1);
    --exp;
  }
  return round_pack(neg, exp, p);
}

SoftExt operator/(SoftExt a, SoftExt b) {
  std::uint16_t sa = a.se_, sb = b.se_;
  if (nan_bits(sa, a.m_) || nan_bits(sb, b.m_)) return propagate(a, b);
  bool neg = ((sa ^ sb) & 0x8000) != 0;
  bool ia = inf_bits(sa, a.m_), ib = inf_bits(sb, b.m_);
  if (ia) return ib ? SoftExt::default_nan() : SoftExt::infinity(neg);
  if (ib) return SoftExt::from_bits(sign_bit(neg), 0);
  if (b.m_ == 0) return a.m_ == 0 ? SoftExt::default_nan() : SoftExt::infinity(neg);
  if (a.m_ == 0) return SoftExt::from_bits(sign_bit(neg), 0);
  Parts x = unpack(sa, a.m_), y = unpack(sb, b.m_);
  long exp = static_cast<long>(x.exp) - y.exp;
  std::uint64_t rem, q;
  if (x.sig >= y.sig) {
    q = div128(x.sig >> 1, x.sig << 63, y.sig, rem);
  } else {
    q = div128(x.sig, 0, y.sig, rem);
    --exp;
  }
  std::uint64_t other = y.sig - rem;  // rem < y.sig
  return round_pack(neg, exp, U128{q, tail_word(rem != 0, rem > other, rem == other)});
}

SoftExt sqrt(SoftExt a) {
  if (a.is_nan()) return propagate(a, a);
  if (a.m_ == 0) return a;  // ±0
  if (a.is_negative()) return SoftExt::default_nan();
  if (inf_bits(a.se_, a.m_)) return a;
  Parts x = unpack(a.se_, a.m_);
  // N = sig × 2^k with (exp − 63 − k) even; the root of N has 64 bits.
  int k = ((x.exp - 63 - 64) % 2 == 0) ? 64 : 63;
  U128 n = shl(U128{0, x.sig}, k);
  std::uint64_t r = 0;
  for (int bit = 63; bit >= 0; --bit) {
    std::uint64_t t = r | (1ull << bit);
    if (!less(n, mul64(t, t))) r = t;
  }
  U128 rem = sub(n, mul64(r, r));
  // sqrt(N) − r > 1/2 exactly when N − r² > r (an exact half cannot occur).
  bool above = rem.hi != 0 || rem.lo > r;
  long half_exp = (static_cast<long>(x.exp) - 63 - k) / 2;
  return round_pack(false, 63 + half_exp, U128{r, tail_word(!is_zero(rem), above, false)});
}

}  // namespace amostra
