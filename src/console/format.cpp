#include "console/format.hpp"

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <unordered_map>

#include "console/fields.hpp"
#include "core/cp850.hpp"

namespace amostra {
namespace {

bool ascii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view format) : src_(strip_blanks(format)), whole_(format) {}

  std::vector<FormatOp> parse() {
    std::vector<FormatOp> ops;
    expect('(');
    list(ops);
    expect(')');
    if (pos_ != src_.size()) fail("text after the closing parenthesis");
    return ops;
  }

 private:
  // Blanks outside quoted text carry no meaning.
  static std::string strip_blanks(std::string_view f) {
    std::string s;
    bool quoted = false;
    for (char c : f) {
      if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
      if (quoted || c == '"' || (c != ' ' && c != '\t')) s += c;
    }
    return s;
  }

  [[noreturn]] void fail(const char* why) const {
    throw std::logic_error(std::string("bad format text (") + why + "): " + std::string(whole_));
  }
  bool at_end() const { return pos_ >= src_.size(); }
  char peek() const { return at_end() ? '\0' : src_[pos_]; }
  void expect(char c) {
    if (peek() != c) fail("missing parenthesis");
    ++pos_;
  }
  bool digit() const { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }
  int number() {
    if (!digit()) fail("number expected");
    int n = 0;
    while (digit()) {
      n = n * 10 + (src_[pos_++] - '0');
      if (n > 100000) fail("number too large");
    }
    return n;
  }

  // Items up to the closing parenthesis of the current list; commas optional.
  void list(std::vector<FormatOp>& ops) {
    while (!at_end() && peek() != ')') {
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      item(ops);
    }
  }

  void item(std::vector<FormatOp>& ops) {
    int count = -1;
    if (digit()) count = number();
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(peek())));
    if (c == '(') {
      ++pos_;
      std::vector<FormatOp> group;
      list(group);
      expect(')');
      for (int k = 0; k < (count < 0 ? 1 : count); ++k) ops.insert(ops.end(), group.begin(), group.end());
      return;
    }
    if (c == 'X') {
      ++pos_;
      ops.push_back({FormatOp::Kind::Skip, {}, count < 0 ? 1 : count, 0});
      return;
    }
    if (count >= 0 && c != 'A' && c != 'I' && c != 'F') fail("count before an item that takes none");
    int times = count < 0 ? 1 : count;
    FormatOp op{FormatOp::Kind::Text, {}, 0, 0};
    switch (c) {
      case '"':
        op.text = quoted();
        if (!ascii(op.text)) op.text = to_cp850(op.text);  // ASCII is the same in code page 850
        break;
      case '/':
        ++pos_;
        op.kind = FormatOp::Kind::Slash;
        break;
      case 'A':
        ++pos_;
        op.kind = FormatOp::Kind::A;
        op.n = digit() ? number() : -1;
        break;
      case 'I':
        ++pos_;
        op.kind = FormatOp::Kind::I;
        op.n = number();
        break;
      case 'F':
        ++pos_;
        op.kind = FormatOp::Kind::F;
        op.n = number();
        expect_point();
        op.d = number();
        break;
      default:
        fail("unknown item");
    }
    for (int k = 0; k < times; ++k) ops.push_back(op);
  }

  void expect_point() {
    if (peek() != '.') fail("F descriptor without decimals");
    ++pos_;
  }

  std::string quoted() {
    ++pos_;  // opening quote
    std::string text;
    for (;;) {
      if (at_end()) fail("unterminated text");
      char c = src_[pos_++];
      if (c == '"') {
        if (peek() != '"') return text;
        ++pos_;  // a doubled quote stands for one
      }
      text += c;
    }
  }

  std::string src_;
  std::string_view whole_;
  std::size_t pos_ = 0;
};

void put_value(Record& out, const FormatOp& op, const Val& v) {
  switch (op.kind) {
    case FormatOp::Kind::A:
      if (v.kind != Val::Kind::Text) throw std::logic_error("A descriptor given a number");
      put_a(out, v.t, op.n < 0 ? static_cast<int>(v.t.size()) : op.n);
      return;
    case FormatOp::Kind::I:
      if (v.kind != Val::Kind::Int) throw std::logic_error("I descriptor given a non-integer");
      put_i(out, v.i, op.n);
      return;
    case FormatOp::Kind::F:
      if (v.kind != Val::Kind::Real) throw std::logic_error("F descriptor given a non-real");
      put_f(out, v.r, op.n, op.d);
      return;
    default:
      return;
  }
}

}  // namespace

std::vector<FormatOp> parse_format(std::string_view format) { return Parser(format).parse(); }

namespace {

// The same rendering in fewer operations: blanks that a text will write are
// made part of it, and neighbouring texts and record ends are joined.  Blanks
// before a data descriptor stay pending (they are not written when no value
// is left), and so do blanks before a record end or the end of the format
// (never written).
std::vector<FormatOp> joined(const std::vector<FormatOp>& ops) {
  std::vector<FormatOp> out;
  int pending = 0;
  for (const FormatOp& op : ops) {
    switch (op.kind) {
      case FormatOp::Kind::Skip:
        pending += op.n;
        break;
      case FormatOp::Kind::Text:
      case FormatOp::Kind::Slash: {
        if (out.empty() || out.back().kind != FormatOp::Kind::Text) out.push_back({FormatOp::Kind::Text, {}, 0, 0});
        std::string& text = out.back().text;
        if (op.kind == FormatOp::Kind::Slash) {
          text += "\r\n";
        } else {
          text.append(static_cast<std::size_t>(pending), ' ');
          text += op.text;
        }
        pending = 0;
        break;
      }
      default:
        if (pending > 0) out.push_back({FormatOp::Kind::Skip, {}, pending, 0});
        pending = 0;
        out.push_back(op);
        break;
    }
  }
  return out;
}

// The layout of a format whose data descriptors are all I or A with a width.
void lay_out(FormatEntry& e) {
  int pending = 0;
  for (const FormatOp& op : e.ops) {
    switch (op.kind) {
      case FormatOp::Kind::Text:
        e.layout.append(static_cast<std::size_t>(pending), ' ');
        e.layout += op.text;
        pending = 0;
        break;
      case FormatOp::Kind::Skip:
        pending += op.n;
        break;
      case FormatOp::Kind::Slash:
        e.layout += "\r\n";
        pending = 0;
        break;
      case FormatOp::Kind::I:
      case FormatOp::Kind::A:
        if (op.n < 0) return;  // A of the value's own length
        e.layout.append(static_cast<std::size_t>(pending), ' ');
        pending = 0;
        e.fields.push_back({e.layout.size(), op.kind, op.n});
        e.layout.append(static_cast<std::size_t>(op.n), ' ');
        break;
      default:
        return;  // F: written the general way
    }
  }
  e.layout += "\r\n";
  e.fixed = true;
}

}  // namespace

FormatSlot format_slots[kFormatSlots];

const FormatEntry& format_entry_slow(const char* format) {
  static std::unordered_map<const char*, FormatEntry> cache;
  auto it = cache.find(format);
  if (it == cache.end()) {
    FormatEntry e;
    e.ops = joined(parse_format(format));
    lay_out(e);
    if (!e.fixed) {
      e.layout.clear();
      e.fields.clear();
    }
    it = cache.emplace(format, std::move(e)).first;
  }
  format_slots[format_slot(format)] = {format, &it->second};
  return it->second;
}

void render_entry(Record& out, const FormatEntry& entry, std::initializer_list<Val> values) {
  if (!entry.fixed || values.size() != entry.fields.size()) {
    render_format(out, entry.ops, values);
    return;
  }
  const std::size_t size = entry.layout.size();
  char* d = out.extend(size);
  std::memcpy(d, entry.layout.data(), size);
  const Val* v = values.begin();
  for (const FormatField& f : entry.fields) {
    char* hole = d + f.offset;
    const int w = f.w;
    if (f.kind == FormatOp::Kind::I) {
      if (v->kind != Val::Kind::Int) throw std::logic_error("I descriptor given a non-integer");
      const auto u = static_cast<unsigned>(v->i);
      if (u < 100 && w >= 2) {  // the usual count or code: one or two digits
        const unsigned tens = u / 10;
        hole[w - 1] = static_cast<char>('0' + (u - tens * 10));
        if (tens != 0) hole[w - 2] = static_cast<char>('0' + tens);
        ++v;
        continue;
      }
      const bool negative = v->i < 0;
      auto mag = negative ? 0u - u : u;
      const int digits_room = w - (negative ? 1 : 0);  // columns left for the digits
      static constexpr unsigned kLimit[10] = {0,      10,      100,      1000,      10000,
                                              100000, 1000000, 10000000, 100000000, 1000000000};
      if (digits_room <= 0 || (digits_room < 10 && mag >= kLimit[digits_room])) {
        std::memset(hole, '*', static_cast<std::size_t>(w));
      } else {
        char* e = hole + w;  // the digits from the right end; blanks are there already
        do {
          const unsigned tens = mag / 10;
          *--e = static_cast<char>('0' + (mag - tens * 10));
          mag = tens;
        } while (mag != 0);
        if (negative) *--e = '-';
      }
    } else {
      if (v->kind != Val::Kind::Text) throw std::logic_error("A descriptor given a number");
      const auto width = static_cast<std::size_t>(w);
      if (v->t.size() >= width) std::memcpy(hole, v->t.data(), width);  // its first w characters
      else std::memcpy(hole + (width - v->t.size()), v->t.data(), v->t.size());
    }
    ++v;
  }
}

void render_format(Record& out, const std::vector<FormatOp>& ops, std::initializer_list<Val> values) {
  std::size_t pending = 0;
  auto next = values.begin();
  for (const FormatOp& op : ops) {
    switch (op.kind) {
      case FormatOp::Kind::Text:
        if (pending != 0) out.append(pending, ' ');
        pending = 0;
        out.append(op.text.data(), op.text.size());
        break;
      case FormatOp::Kind::Skip:
        pending += static_cast<std::size_t>(op.n);
        break;
      case FormatOp::Kind::Slash:
        out.append("\r\n", 2);
        pending = 0;
        break;
      default:
        if (next == values.end()) {
          out.append("\r\n", 2);
          return;
        }
        if (pending != 0) out.append(pending, ' ');
        pending = 0;
        if (op.kind == FormatOp::Kind::I && next->kind == Val::Kind::Int) put_i(out, next->i, op.n);
        else put_value(out, op, *next);
        ++next;
        break;
    }
  }
  if (next != values.end()) throw std::logic_error("more values than data descriptors");
  out.append("\r\n", 2);
}

void render_list(Record& out, std::initializer_list<Val> values) {
  const Val* prev = nullptr;
  for (const Val& v : values) {
    if (prev == nullptr || !(prev->kind == Val::Kind::Text && v.kind == Val::Kind::Text)) out += ' ';
    switch (v.kind) {
      case Val::Kind::Int:
        put_list_int(out, v.i);
        break;
      case Val::Kind::Real:
        put_list_real(out, v.r);
        break;
      case Val::Kind::Text:
        out += v.t;
        break;
    }
    prev = &v;
  }
  out += "\r\n";
}

}  // namespace amostra
