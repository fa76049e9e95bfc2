#include "console/decimal.hpp"

#include <cstring>

namespace amostra {
namespace {

using decimal_detail::from_bits;
using decimal_detail::round_to_single;

using u128 = unsigned __int128;

constexpr std::uint64_t kPow10[20] = {1ULL,
                                      10ULL,
                                      100ULL,
                                      1000ULL,
                                      10000ULL,
                                      100000ULL,
                                      1000000ULL,
                                      10000000ULL,
                                      100000000ULL,
                                      1000000000ULL,
                                      10000000000ULL,
                                      100000000000ULL,
                                      1000000000000ULL,
                                      10000000000000ULL,
                                      100000000000000ULL,
                                      1000000000000000ULL,
                                      10000000000000000ULL,
                                      100000000000000000ULL,
                                      1000000000000000000ULL,
                                      10000000000000000000ULL};

// An unsigned integer of up to 48 x 32 bits, enough for every exact value the
// conversions meet (the largest: 121 digits shifted left by some 620 bits).
class Big {
 public:
  explicit Big(std::uint64_t v) {
    while (v != 0) {
      limb_[n_++] = static_cast<std::uint32_t>(v);
      v >>= 32;
    }
  }

  void mul_add(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (int i = 0; i < n_; ++i) {
      std::uint64_t t = static_cast<std::uint64_t>(limb_[i]) * factor + carry;
      limb_[i] = static_cast<std::uint32_t>(t);
      carry = t >> 32;
    }
    if (carry != 0) limb_[n_++] = static_cast<std::uint32_t>(carry);
  }
  void mul_pow10(int k) {
    for (; k >= 9; k -= 9) mul_add(1000000000u, 0);
    if (k > 0) mul_add(static_cast<std::uint32_t>(kPow10[k]), 0);
  }
  void mul_pow5(int k) {
    for (; k >= 13; k -= 13) mul_add(1220703125u, 0);  // 5^13
    std::uint32_t p = 1;
    for (; k > 0; --k) p *= 5;
    mul_add(p, 0);
  }
  void shift_left(int s) {
    if (n_ == 0) return;
    const int words = s / 32;
    const int bits = s % 32;
    if (bits != 0) {
      std::uint32_t carry = 0;
      for (int i = 0; i < n_; ++i) {
        std::uint32_t v = limb_[i];
        limb_[i] = (v << bits) | carry;
        carry = v >> (32 - bits);
      }
      if (carry != 0) limb_[n_++] = carry;
    }
    if (words != 0) {
      for (int i = n_ - 1; i >= 0; --i) limb_[i + words] = limb_[i];
      for (int i = 0; i < words; ++i) limb_[i] = 0;
      n_ += words;
    }
  }
  // Divides in place by d (nonzero); returns the remainder.
  std::uint32_t div_small(std::uint32_t d) {
    std::uint64_t rem = 0;
    for (int i = n_ - 1; i >= 0; --i) {
      std::uint64_t cur = (rem << 32) | limb_[i];
      limb_[i] = static_cast<std::uint32_t>(cur / d);
      rem = cur % d;
    }
    while (n_ > 0 && limb_[n_ - 1] == 0) --n_;
    return static_cast<std::uint32_t>(rem);
  }
  // Divides by 10^k; returns whether a remainder was left.
  bool div_pow10(int k) {
    bool rest = false;
    for (; k >= 9; k -= 9) rest |= div_small(1000000000u) != 0;
    if (k > 0) rest |= div_small(static_cast<std::uint32_t>(kPow10[k])) != 0;
    return rest;
  }
  // The value as (top + fraction) x 2^exp2 with top's bit 63 set; `sticky` is
  // set when bits below top are nonzero.  The value must be nonzero.
  std::uint64_t top64(int& exp2, bool& sticky) const {
    const int hi = n_ - 1;
    const int lz = __builtin_clz(limb_[hi]);
    u128 wide = 0;  // the three highest limbs
    for (int b = 0; b < 3; ++b) wide = (wide << 32) | (hi - b >= 0 ? limb_[hi - b] : 0u);
    wide <<= lz;  // the value's highest bit at bit 95
    sticky = static_cast<std::uint32_t>(wide) != 0;
    for (int i = hi - 3; i >= 0 && !sticky; --i) sticky = limb_[i] != 0;
    exp2 = hi * 32 + (32 - lz) - 64;
    return static_cast<std::uint64_t>(wide >> 32);
  }
  // The decimal digits, without leading zeros ("0" for zero).
  std::size_t to_decimal(char* out) {
    char reversed[512];
    std::size_t r = 0;
    while (n_ > 0) {
      std::uint32_t chunk = div_small(1000000000u);
      for (int k = 0; k < 9; ++k) {
        reversed[r++] = static_cast<char>('0' + chunk % 10);
        chunk /= 10;
      }
    }
    while (r > 1 && reversed[r - 1] == '0') --r;
    if (r == 0) reversed[r++] = '0';
    for (std::size_t i = 0; i < r; ++i) out[i] = reversed[r - 1 - i];
    return r;
  }

 private:
  std::uint32_t limb_[48] = {};
  int n_ = 0;
};

float round_u64(std::uint64_t v, int exp2, bool sticky) {
  const int lz = __builtin_clzll(v);
  return round_to_single(v << lz, exp2 - lz, sticky);
}

float round_u128(u128 v, int exp2, bool sticky) {
  const auto hi = static_cast<std::uint64_t>(v >> 64);
  if (hi == 0) return round_u64(static_cast<std::uint64_t>(v), exp2, sticky);
  const int lz = __builtin_clzll(hi);
  const u128 n = v << lz;
  return round_to_single(static_cast<std::uint64_t>(n >> 64), exp2 + 64 - lz,
                         sticky || static_cast<std::uint64_t>(n) != 0);
}

// The exact decimal expansion of the positive finite single m: its digits
// (no leading zeros) and how many of them are after the decimal point.
std::size_t exact_digits(float m, char* out, int& fraction) {
  std::uint32_t bits;
  std::memcpy(&bits, &m, sizeof bits);
  const int field = static_cast<int>((bits >> 23) & 0xFF);
  std::uint32_t mant = bits & 0x7FFFFF;
  int e = -149;
  if (field != 0) {
    mant |= 0x800000;
    e = field - 150;
  }
  Big b(mant);
  if (e >= 0) {
    b.shift_left(e);
    fraction = 0;
  } else {
    b.mul_pow5(-e);  // mant / 2^k = mant x 5^k / 10^k
    fraction = -e;
  }
  return b.to_decimal(out);
}

// Adds one unit to the last of n digits; returns true on a carry out of the first.
bool increment(char* digits, std::size_t n) {
  for (std::size_t i = n; i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

std::size_t put_u64_digits(std::uint64_t v, std::size_t at_least, char* out) {
  char reversed[24];
  std::size_t r = 0;
  do {
    reversed[r++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  std::size_t n = 0;
  for (; n + r < at_least; ++n) out[n] = '0';
  for (std::size_t i = 0; i < r; ++i) out[n++] = reversed[r - 1 - i];
  return n;
}

}  // namespace

float decimal_to_float_general(std::uint64_t leading, const char* digits, std::size_t n, bool more, long point) {
  if (point > 39) return from_bits(0x7F800000u);  // at least 10^39
  if (point < -45) return 0.0f;                   // below 10^-46
  const long q = point - static_cast<long>(n);    // value = D x 10^q
  if (n <= 19 && !more) {
    const std::uint64_t w = leading;
    if (q >= 0 && q <= 19) return round_u128(static_cast<u128>(w) * kPow10[q], 0, false);
    if (q < 0 && q >= -11) {
      // 10^m < 2^37, so the quotient of the normalised w keeps at least 27 bits.
      const int lz = __builtin_clzll(w);
      const std::uint64_t norm = w << lz;
      const std::uint64_t p = kPow10[-q];
      return round_u64(norm / p, -lz, norm % p != 0);
    }
    if (q < 0 && q >= -27) {
      // 10^m < 2^90: the quotient of w x 2^64 keeps at least 37 bits.
      const int lz = __builtin_clzll(w);
      const u128 num = static_cast<u128>(w << lz) << 64;
      const long m = -q;
      const u128 p = m <= 19 ? u128{kPow10[m]} : static_cast<u128>(kPow10[19]) * kPow10[m - 19];
      return round_u128(num / p, -64 - lz, num % p != 0);
    }
  }
  // Any length and exponent: exact big-integer arithmetic.  A nonzero digit
  // beyond those given stands for all of them: a halfway point has far fewer
  // than 120 significant digits, so it cannot fall between the two.
  char own[20];
  if (digits == nullptr) {  // the digits are those of `leading`
    std::uint64_t v = leading;
    for (std::size_t i = n; i-- > 0; v /= 10) own[i] = static_cast<char>('0' + v % 10);
    digits = own;
  }
  Big b(0);
  std::uint32_t chunk = 0;
  int in_chunk = 0;
  for (std::size_t i = 0; i < n; ++i) {
    chunk = chunk * 10 + static_cast<std::uint32_t>(digits[i] - '0');
    if (++in_chunk == 9) {
      b.mul_add(1000000000u, chunk);
      chunk = 0;
      in_chunk = 0;
    }
  }
  if (in_chunk > 0) b.mul_add(static_cast<std::uint32_t>(kPow10[in_chunk]), chunk);
  long scale = q;
  if (more) {
    b.mul_add(10, 1);
    --scale;
  }
  int exp2 = 0;
  bool sticky = false;
  if (scale >= 0) {
    b.mul_pow10(static_cast<int>(scale));
    const std::uint64_t top = b.top64(exp2, sticky);
    return round_to_single(top, exp2, sticky);
  }
  // D / 10^m: shifted left far enough that the quotient has 64 bits or more.
  const int m = static_cast<int>(-scale);
  const int s = 66 + (m * 3402 + 1023) / 1024;  // 3402/1024 > log2(10)
  b.shift_left(s);
  const bool rest = b.div_pow10(m);
  const std::uint64_t top = b.top64(exp2, sticky);
  return round_to_single(top, exp2 - s, sticky || rest);
}

std::size_t fixed_digits(float m, int d, char* out) {
  std::uint32_t bits;
  std::memcpy(&bits, &m, sizeof bits);
  const int field = static_cast<int>((bits >> 23) & 0xFF);
  std::uint64_t mant = bits & 0x7FFFFF;
  int e = -149;
  if (field != 0) {
    mant |= 0x800000;
    e = field - 150;
  }
  const auto width = static_cast<std::size_t>(d) + 1;
  if (mant == 0) return put_u64_digits(0, width, out);
  if (d <= 17 && e <= 40) {
    // floor(m x 10^(d+1)) in 128 bits: its last digit decides the rounding.
    u128 scaled = static_cast<u128>(mant) * kPow10[d + 1];
    if (e >= 0) scaled <<= e;
    else scaled = -e >= 128 ? 0 : scaled >> -e;
    if ((scaled >> 64) == 0) {
      auto s = static_cast<std::uint64_t>(scaled);
      return put_u64_digits(s / 10 + (s % 10 >= 5 ? 1 : 0), width, out);
    }
    const bool up = static_cast<unsigned>(scaled % 10) >= 5;
    scaled = scaled / 10 + (up ? 1 : 0);
    char reversed[48];
    std::size_t r = 0;
    while (scaled != 0) {
      reversed[r++] = static_cast<char>('0' + static_cast<int>(scaled % 10));
      scaled /= 10;
    }
    std::size_t n = 0;
    for (; n + r < width; ++n) out[n] = '0';
    for (std::size_t i = 0; i < r; ++i) out[n++] = reversed[r - 1 - i];
    return n;
  }
  // The exact expansion (at most 149 places), with zeros in front so that it
  // has an integer digit, cut after place d and rounded by the next digit.
  char exact[200];
  int fraction = 0;
  const std::size_t len = exact_digits(m, exact, fraction);
  const auto frac = static_cast<std::size_t>(fraction);
  const auto places = static_cast<std::size_t>(d);
  const std::size_t zeros = len < frac + 1 ? frac + 1 - len : 0;
  const std::size_t n = zeros + len;  // the value x 10^frac, with an integer digit
  if (places >= frac) {
    std::memset(out, '0', zeros);
    std::memcpy(out + zeros, exact, len);
    std::memset(out + n, '0', places - frac);
    return n + places - frac;
  }
  char work[256];
  std::memset(work, '0', zeros);
  std::memcpy(work + zeros, exact, len);
  const std::size_t keep = n - (frac - places);
  std::memcpy(out, work, keep);
  if (work[keep] >= '5' && increment(out, keep)) {
    std::memmove(out + 1, out, keep);
    out[0] = '1';
    return keep + 1;
  }
  return keep;
}

int scientific_digits(float m, int n, char* out) {
  char exact[200];
  int fraction = 0;
  const std::size_t len = exact_digits(m, exact, fraction);
  int exponent = static_cast<int>(len) - fraction - 1;
  const auto want = static_cast<std::size_t>(n);
  if (len <= want) {
    std::memcpy(out, exact, len);
    std::memset(out + len, '0', want - len);
    return exponent;
  }
  std::memcpy(out, exact, want);
  if (exact[want] >= '5' && increment(out, want)) {
    out[0] = '1';  // all nines became zeros
    ++exponent;
  }
  return exponent;
}

}  // namespace amostra
