// Typed input: list-directed (free-form) reads and the fixed-column "(I3)"
// read.  Any value that cannot be read, and the end of input, is fatal: the
// read throws InputError and the program stops.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <streambuf>
#include <string>

#include "console/value.hpp"

namespace amostra {

// Where a read statement stands in the program's source (for the error report).
struct ReadSite {
  const char* file;
  int line;
};

class InputError : public std::runtime_error {
 public:
  InputError(const std::string& message, ReadSite site) : std::runtime_error(message), site_(site) {}
  ReadSite site() const { return site_; }

 private:
  ReadSite site_;
};

class Reader {
 public:
  explicit Reader(std::streambuf& in) : in_(&in) {}

  // One list-directed read statement; items keep their values when they
  // receive a null value or are skipped by a slash.
  void read(int& v, ReadSite site);
  void read(Real& v, ReadSite site);
  void read(Real& a, Real& b, ReadSite site);
  void read(Text& t, ReadSite site);

  // One "(I3)" read: consumes exactly one line.
  void read_i3(int& v, ReadSite site);

 private:
  struct Item {
    enum class Type { Int, Real, Text } type;
    int* i = nullptr;
    Real* r = nullptr;
    Text* t = nullptr;
  };
  // A value as read, kept for the copies of a repeat form r*c.
  struct Value {
    int i = 0;
    float r = 0.0f;
    std::string t;
  };

  void read_list(Item* items, int count, ReadSite site);
  // Reads the value (or repeat form) that starts at the current character.
  // Returns the number of further copies a repeat form asks for (0 if none);
  // sets `null` when the form r* gives null values.
  std::int64_t read_value(const Item& item, int item_no, Value& value, bool& null, ReadSite site);
  bool read_typed(const Item& item, int item_no, bool allow_repeat, Value& value, std::int64_t& repeat,
                  ReadSite site);
  bool read_int(int item_no, bool allow_repeat, Value& value, std::int64_t& repeat, ReadSite site);
  bool read_real(int item_no, bool allow_repeat, Value& value, std::int64_t& repeat, ReadSite site);
  bool read_text(std::size_t length, int item_no, bool allow_repeat, Value& value, std::int64_t& repeat,
                 ReadSite site);
  void check_repeat(std::int64_t count, int item_no, ReadSite site);
  static void store(const Item& item, const Value& value);

  // Character level: a byte 0..255, kEol (a line end: LF, or CR LF) or kEnd.
  static constexpr int kEol = -2;
  static constexpr int kEnd = -1;
  static constexpr int kNone = -3;
  int cur() {
    if (look_ == kNone) look_ = next_char();
    return look_;
  }
  void advance() {
    int c = cur();
    if (c == kEnd) return;
    mid_line_ = c != kEol;
    look_ = kNone;
  }
  // Blank, tab, comma, semicolon, slash, line end, end of input.
  bool at_separator() {
    int c = cur();
    return c < 0 || c == ' ' || c == '\t' || c == ',' || c == ';' || c == '/';
  }
  int next_char() {
    int c = in_->sbumpc();
    if (c == std::char_traits<char>::eof()) return kEnd;
    if (c == '\n') return kEol;
    if (c == '\r' && in_->sgetc() == '\n') {
      in_->sbumpc();
      return kEol;
    }
    return static_cast<unsigned char>(c);
  }
  void skip_blanks();
  void discard_line();  // the rest of the current line, if any of it was read
  [[noreturn]] void fail(const std::string& message, ReadSite site);

  std::streambuf* in_;
  int look_ = kNone;
  bool mid_line_ = false;  // some of the current line has been consumed
};

}  // namespace amostra
