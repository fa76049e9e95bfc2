#include "console/reader.hpp"

#include <cstring>

#include "console/decimal.hpp"

namespace amostra {
namespace {

constexpr std::int64_t kMaxRepeat = 200000000;
constexpr std::int64_t kSaturate = INT64_C(1) << 40;  // far above every limit checked
constexpr std::size_t kMaxDigits = 120;               // enough for any single's rounding
constexpr long kMaxExponent = 100000;

std::int64_t accumulate(std::int64_t acc, int digit) {
  acc = acc * 10 + digit;
  return acc > kSaturate ? kSaturate : acc;
}

bool is_digit(int c) { return c >= '0' && c <= '9'; }

int lower(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

std::string item_message(const char* before, int item_no, const char* after) {
  return before + std::to_string(item_no) + after;
}

// The significant digits of a decimal number as typed: value =
// 0.<digits> x 10^point, with a sticky flag for nonzero digits dropped beyond
// those kept.
struct Decimal {
  char digits[kMaxDigits + 2];
  std::size_t kept = 0;
  bool sticky = false;
  long point = 0;
  std::uint64_t leading = 0;  // the first 19 digits as an integer

  void add(char c) {
    if (kept < kMaxDigits) {
      if (kept < 19) leading = leading * 10 + static_cast<std::uint64_t>(c - '0');
      digits[kept++] = c;
    } else if (c != '0') {
      sticky = true;
    }
  }

  float to_float(long exponent) const { return decimal_to_float(leading, digits, kept, sticky, point + exponent); }
};

}  // namespace

bool Reader::refill(std::size_t keep) {
  // The first `keep` bytes still to be read move to the front.
  if (keep > 0) std::memmove(buf_, p_, keep);
  p_ = buf_;
  end_ = buf_ + keep;
  std::streamsize want = in_->in_avail();
  if (want <= 0) {
    if (before_wait_ != nullptr) before_wait_(wait_context_);  // the stream may wait now
    if (in_->sgetc() == std::char_traits<char>::eof()) return keep > 0;  // waits for input
    want = in_->in_avail();
    if (want <= 0) want = 1;
  }
  const auto room = static_cast<std::streamsize>(sizeof buf_ - 1 - keep);
  end_ += in_->sgetn(buf_ + keep, want < room ? want : room);
  buf_[end_ - buf_] = '\0';  // a stop for the scans of plain_number
  return end_ != p_;
}

int Reader::carriage_return() {
  // A CR just before an LF is part of the line end.
  if (p_ + 1 == end_ && !refill(1)) return '\r';
  if (p_ + 1 != end_ && p_[1] == '\n') {
    ++p_;
    return kEol;
  }
  return '\r';
}

void Reader::skip_blanks() {
  while (cur() == ' ' || cur() == '\t') advance();
}

void Reader::discard_line() {
  if (!mid_line_) return;
  for (;;) {
    if (p_ == end_ && !refill()) break;
    const void* eol = std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_));
    if (eol != nullptr) {
      p_ = static_cast<const char*>(eol) + 1;
      break;
    }
    p_ = end_;
  }
  mid_line_ = false;
}

void Reader::fail(const std::string& message, ReadSite site) {
  discard_line();
  throw InputError(message, site);
}

// The common case straight from the buffer: a whole line holding one plain
// number (blanks, an optional sign, digits with at most one point, blanks).
// Anything else, or a line not yet in the buffer, takes the general path.
inline bool Reader::plain_number(Plain& out) const {
  // The buffer ends in a NUL that stops every loop below; a line not wholly
  // in the buffer, or holding a NUL, is left to the general path.
  if (mid_line_) return false;
  const char* q = p_;
  while (*q == ' ' || *q == '\t') ++q;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  const char* const start = q;
  while (*q == '0') ++q;  // leading zeros are not significant
  const char* const first = q;
  std::uint64_t w = 0;
  unsigned digit = 0;
  while ((digit = static_cast<unsigned>(*q) - '0') <= 9) {
    w = w * 10 + digit;
    ++q;
  }
  long point = q - first;  // significant digits before the point
  std::size_t kept = static_cast<std::size_t>(q - first);
  bool seen_point = false;
  if (*q == '.') {
    seen_point = true;
    ++q;
    if (kept == 0) {
      const char* zeros = q;
      while (*q == '0') ++q;
      point = -(q - zeros);
    }
    const char* const fraction = q;
    while ((digit = static_cast<unsigned>(*q) - '0') <= 9) {
      w = w * 10 + digit;
      ++q;
    }
    kept += static_cast<std::size_t>(q - fraction);
  }
  if (kept > 19 || q == start || (q == start + 1 && seen_point)) return false;
  while (*q == ' ' || *q == '\t') ++q;
  if (*q == '\r') ++q;
  if (*q != '\n') return false;
  out = {q + 1, w, kept, point, negative, seen_point};
  return true;
}

void Reader::read(int& v, ReadSite site) {
  Plain n;
  if (plain_number(n) && !n.seen_point && n.kept <= 10 && n.leading <= 2147483647u) {
    v = static_cast<int>(n.negative ? -static_cast<std::int64_t>(n.leading) : static_cast<std::int64_t>(n.leading));
    p_ = n.next;
    return;
  }
  Item item{Item::Type::Int};
  item.i = &v;
  read_list(&item, 1, site);
}

void Reader::read(Real& v, ReadSite site) {
  Plain n;
  if (plain_number(n)) {
    const float f = n.kept == 0 ? 0.0f : decimal_to_float(n.leading, nullptr, n.kept, false, n.point);
    v = Real::bits(n.negative ? -f : f);
    p_ = n.next;
    return;
  }
  Item item{Item::Type::Real};
  item.r = &v;
  read_list(&item, 1, site);
}

void Reader::read(Real& a, Real& b, ReadSite site) {
  Item items[2] = {{Item::Type::Real}, {Item::Type::Real}};
  items[0].r = &a;
  items[1].r = &b;
  read_list(items, 2, site);
}

void Reader::read(Text& t, ReadSite site) {
  Item item{Item::Type::Text};
  item.t = &t;
  read_list(&item, 1, site);
}

void Reader::store(const Item& item, const Value& value) {
  switch (item.type) {
    case Item::Type::Int:
      *item.i = value.i;
      break;
    case Item::Type::Real:
      *item.r = Real::bits(value.r);
      break;
    case Item::Type::Text:
      item.t->assign(value.t);
      break;
  }
}

void Reader::read_list(Item* items, int count, ReadSite site) {
  bool first = true;         // no value or separator seen yet in this read
  bool after_comma = false;  // the last separator was a comma (or semicolon)
  std::int64_t copies = 0;   // further copies pending from a repeat form
  bool copies_null = false;
  Value copy;
  for (int k = 0; k < count; ++k) {
    const int item_no = k + 1;
    if (copies > 0) {
      --copies;
      if (!copies_null) store(items[k], copy);
      continue;
    }
    // Find where this item's value begins.
    bool null = false;
    for (;;) {
      skip_blanks();
      int c = cur();
      if (c == kEol || (c == kEnd && after_comma)) {
        if (after_comma) {  // a line ending right after a comma: a null value
          advance();
          after_comma = false;
          null = true;
          break;
        }
        advance();
        continue;
      }
      if (c == kEnd) fail("End of file", site);
      if (c == ',' || c == ';') {
        advance();
        if (first || after_comma) {  // a comma where the value should begin
          first = false;
          after_comma = true;
          null = true;
          break;
        }
        after_comma = true;  // the separator of the previous value
        continue;
      }
      if (c == '/') {  // ends the read: the items left keep their values
        advance();
        discard_line();
        return;
      }
      break;
    }
    if (null) continue;
    first = false;
    Value value;
    bool repeat_null = false;
    std::int64_t more = read_value(items[k], item_no, value, repeat_null, site);
    if (!repeat_null) store(items[k], value);
    if (more > 0) {
      copies = more;
      copies_null = repeat_null;
      copy = value;
    }
    // The separator after the value.
    skip_blanks();
    after_comma = cur() == ',' || cur() == ';';
    if (after_comma) advance();
  }
  discard_line();
}

void Reader::check_repeat(std::int64_t count, int item_no, ReadSite site) {
  if (count == 0) fail(item_message("Zero repeat count in item ", item_no, " of list input"), site);
  if (count > kMaxRepeat) fail(item_message("Repeat count overflow in item ", item_no, " of list input"), site);
}

bool Reader::read_typed(const Item& item, int item_no, bool allow_repeat, Value& value, std::int64_t& repeat,
                        ReadSite site) {
  switch (item.type) {
    case Item::Type::Int:
      return read_int(item_no, allow_repeat, value, repeat, site);
    case Item::Type::Real:
      return read_real(item_no, allow_repeat, value, repeat, site);
    case Item::Type::Text:
      return read_text(item.t->size(), item_no, allow_repeat, value, repeat, site);
  }
  return false;
}

std::int64_t Reader::read_value(const Item& item, int item_no, Value& value, bool& null, ReadSite site) {
  std::int64_t repeat = 0;
  if (!read_typed(item, item_no, true, value, repeat, site)) return 0;
  // r*c: the value follows the asterisk directly; r* alone gives r nulls.
  if (at_separator()) {
    null = true;
  } else {
    std::int64_t unused = 0;
    read_typed(item, item_no, false, value, unused, site);
  }
  return repeat - 1;
}

// Each value reader consumes its value up to (not including) the separator
// that ends it.  When the value is a repeat count followed by an asterisk, it
// consumes the asterisk, sets `repeat` and returns true.

bool Reader::read_int(int item_no, bool allow_repeat, Value& value, std::int64_t& repeat, ReadSite site) {
  bool negative = false;
  bool signed_ = false;
  if (cur() == '+' || cur() == '-') {
    negative = cur() == '-';
    signed_ = true;
    advance();
  }
  std::int64_t magnitude = 0;
  int digits = 0;
  bool bad = false;
  while (!at_separator()) {
    int c = cur();
    if (is_digit(c) && !bad) {
      magnitude = accumulate(magnitude, c - '0');
      ++digits;
    } else if (c == '*' && allow_repeat && !signed_ && digits > 0 && !bad) {
      advance();
      check_repeat(magnitude, item_no, site);
      repeat = magnitude;
      return true;
    } else {
      bad = true;
    }
    advance();
  }
  if (bad || digits == 0) fail(item_message("Bad integer for item ", item_no, " in list input"), site);
  if (magnitude > 2147483647) fail(item_message("Integer overflow while reading item ", item_no, ""), site);
  value.i = static_cast<int>(negative ? -magnitude : magnitude);
  return false;
}

bool Reader::read_real(int item_no, bool allow_repeat, Value& value, std::int64_t& repeat, ReadSite site) {
  auto bad = [&] { fail(item_message("Bad real number in item ", item_no, " of list input"), site); };
  bool negative = false;
  bool signed_ = false;
  if (cur() == '+' || cur() == '-') {
    negative = cur() == '-';
    signed_ = true;
    advance();
  }
  // The words Inf, Infinity and NaN, in any case.
  if (lower(cur()) == 'i' || lower(cur()) == 'n') {
    char word[10] = {};
    std::size_t len = 0;
    bool too_long = false;
    while (!at_separator()) {
      if (len < 9) word[len++] = static_cast<char>(lower(cur()));
      else too_long = true;
      advance();
    }
    float v = 0.0f;
    if (!too_long && (std::strcmp(word, "inf") == 0 || std::strcmp(word, "infinity") == 0)) v = __builtin_inff();
    else if (!too_long && std::strcmp(word, "nan") == 0) v = __builtin_nanf("");
    else bad();
    value.r = negative ? -v : v;
    return false;
  }
  // Mantissa: value = 0.<kept digits> x 10^point, plus a sticky digit when
  // nonzero digits beyond those kept were dropped.
  Decimal dec;
  bool seen_point = false;
  int digits = 0;
  std::int64_t count = 0;  // the digits as a repeat count, while they may be one
  for (;;) {
    int c = cur();
    if (is_digit(c)) {
      // A run of digits straight from the buffer, in locals.
      const char* q = p_;
      const char* const end = end_;
      std::size_t kept = dec.kept;
      std::uint64_t leading = dec.leading;
      long point = dec.point;
      do {
        const int digit = *q - '0';
        ++digits;
        count = accumulate(count, digit);
        if (kept == 0 && digit == 0) {
          if (seen_point && point > -kMaxExponent) --point;
        } else {
          if (kept < kMaxDigits) {
            if (kept < 19) leading = leading * 10 + static_cast<std::uint64_t>(digit);
            dec.digits[kept++] = static_cast<char>('0' + digit);
          } else if (digit != 0) {
            dec.sticky = true;
          }
          if (!seen_point && point < kMaxExponent) ++point;
        }
        ++q;
      } while (q != end && is_digit(static_cast<unsigned char>(*q)));
      dec.kept = kept;
      dec.leading = leading;
      dec.point = point;
      p_ = q;
      mid_line_ = true;
    } else if (c == '.' && !seen_point) {
      seen_point = true;
      advance();
    } else if (c == '*' && allow_repeat && !signed_ && !seen_point && digits > 0) {
      advance();
      check_repeat(count, item_no, site);
      repeat = count;
      return true;
    } else {
      break;
    }
  }
  if (digits == 0) bad();
  // Exponent: a letter E or D with an optional sign, or a sign alone.
  long exponent = 0;
  if (!at_separator()) {
    int c = lower(cur());
    if (c == 'e' || c == 'd') {
      advance();
      c = cur();
    } else if (c != '+' && c != '-') {
      bad();
    }
    bool exp_negative = false;
    if (c == '+' || c == '-') {
      exp_negative = c == '-';
      advance();
    }
    int exp_digits = 0;
    while (is_digit(cur())) {
      exponent = exponent * 10 + (cur() - '0');
      if (exponent > kMaxExponent) exponent = kMaxExponent;
      ++exp_digits;
      advance();
    }
    if (exp_digits == 0 || !at_separator()) bad();
    if (exp_negative) exponent = -exponent;
  }
  float v = dec.kept == 0 ? 0.0f : dec.to_float(exponent);
  value.r = negative ? -v : v;
  return false;
}

bool Reader::read_text(std::size_t length, int item_no, bool allow_repeat, Value& value, std::int64_t& repeat,
                       ReadSite site) {
  value.t.clear();
  int mark = cur();
  if (mark == '\'' || mark == '"') {
    advance();
    for (;;) {
      int c = cur();
      if (c == kEnd) fail("End of file", site);
      if (c == kEol) {  // the value goes on on the next line
        advance();
        continue;
      }
      advance();
      if (c == mark) {
        if (cur() != mark) break;
        advance();  // the mark written twice stands for one
      }
      if (value.t.size() < length) value.t += static_cast<char>(c);
    }
    if (!at_separator()) fail(item_message("Invalid string input in item ", item_no, ""), site);
    return false;
  }
  std::int64_t count = 0;
  bool all_digits = true;
  while (!at_separator()) {
    int c = cur();
    if (c == '*' && allow_repeat && all_digits && !value.t.empty()) {
      advance();
      check_repeat(count, item_no, site);
      repeat = count;
      value.t.clear();
      return true;
    }
    if (is_digit(c)) count = accumulate(count, c - '0');
    else all_digits = false;
    if (value.t.size() < length) value.t += static_cast<char>(c);
    else if (!all_digits) allow_repeat = false;  // cannot be a count any more
    advance();
  }
  return false;
}

void Reader::read_i3(int& v, ReadSite site) {
  if (cur() == kEnd) fail("End of file", site);
  char field[3];
  int n = 0;
  while (n < 3 && cur() != kEol && cur() != kEnd && cur() != ',') {
    field[n++] = static_cast<char>(cur());
    advance();
  }
  mid_line_ = true;
  discard_line();
  bool negative = false;
  bool sign_allowed = true;
  int digits = 0;
  int value = 0;
  for (int k = 0; k < n; ++k) {
    char c = field[k];
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && sign_allowed) {
      negative = c == '-';
    } else if (is_digit(c)) {
      value = value * 10 + (c - '0');
      ++digits;
    } else {
      throw InputError("Bad value during integer read", site);
    }
    sign_allowed = false;
  }
  if (!sign_allowed && digits == 0) throw InputError("Bad value during integer read", site);
  v = negative ? -value : value;
}

}  // namespace amostra
