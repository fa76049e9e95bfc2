// Values handed to the record writers, and fixed-length text variables.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/arith.hpp"
#include "core/cp850.hpp"

namespace amostra {

// A text variable of fixed length: always exactly its declared length,
// trailing blanks included.  Its bytes are code page 850 as typed or stored.
class Text {
 public:
  explicit Text(std::size_t length = 0) : bytes_(length, ' ') {}
  // A program text (UTF-8 in the source) stored blank-padded (or cut) to `length`.
  static Text of(std::size_t length, const char* utf8) {
    Text t(length);
    bool ascii = true;  // ASCII is the same in code page 850
    for (const char* p = utf8; *p != '\0' && ascii; ++p) ascii = static_cast<unsigned char>(*p) < 0x80;
    if (ascii) t.assign(utf8);
    else t.assign(to_cp850(utf8));
    return t;
  }
  // Stores `bytes` as they are: the first `size()` of them, padded with blanks.
  void assign(std::string_view bytes) {
    std::size_t n = bytes.size() < bytes_.size() ? bytes.size() : bytes_.size();
    bytes_.replace(0, n, bytes.substr(0, n));
    bytes_.replace(n, bytes_.size() - n, bytes_.size() - n, ' ');
  }
  std::string_view bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  bool operator==(const Text& o) const { return bytes_ == o.bytes_; }
  bool operator!=(const Text& o) const { return bytes_ != o.bytes_; }

 private:
  std::string bytes_;
};

// One value of a write: an integer, a single-precision real or a text.
struct Val {
  enum class Kind { Int, Real, Text };
  Kind kind;
  int i = 0;
  float r = 0.0f;
  std::string_view t;

  Val(int v) : kind(Kind::Int), i(v) {}                            // NOLINT
  Val(Real v) : kind(Kind::Real), r(v.value()) {}                  // NOLINT
  Val(Ext v) : kind(Kind::Real), r(Real(v).value()) {}             // NOLINT: written as a single
  Val(const Text& v) : kind(Kind::Text), t(v.bytes()) {}           // NOLINT
  Val(const char* literal) : kind(Kind::Text), t(cp850_literal(literal)) {}  // NOLINT: a program literal
};

}  // namespace amostra
