// Typed input: list-directed (free-form) reads and the fixed-column "(I3)"
// read.  Any value that cannot be read, and the end of input, is fatal: the
// read throws InputError and the program stops.
#pragma once

#include <cstddef>
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

  // Called when the reader has nothing left and the stream may wait for
  // input: what has been written must go out first.
  void on_wait(void (*hook)(void*), void* context) {
    before_wait_ = hook;
    wait_context_ = context;
  }

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

  struct Plain {
    const char* next;  // the start of the next line
    std::uint64_t leading;
    std::size_t kept;  // significant digits (leading has exactly these)
    long point;        // value = 0.<digits> x 10^point
    bool negative;
    bool seen_point;
  };
  bool plain_number(Plain& out) const;
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

  // Character level: a byte 0..255 (kEol, the LF, for a line end: LF, or
  // CR LF) or kEnd.  Input is taken from the stream in chunks of what it
  // already holds, so the stream waits (and shows the prompt) only when
  // nothing typed is left.
  static constexpr int kEol = '\n';
  static constexpr int kEnd = -1;
  int cur() {
    if (p_ == end_ && !refill()) return kEnd;
    const int c = static_cast<unsigned char>(*p_);
    return c == '\r' ? carriage_return() : c;
  }
  void advance() {
    if (p_ == end_) return;
    mid_line_ = *p_ != '\n';
    ++p_;
  }
  // Blank, tab, comma, semicolon, slash, line end, end of input.
  bool at_separator() {
    int c = cur();
    return c < 0 || c == ' ' || c == '\t' || c == ',' || c == ';' || c == '/' || c == kEol;
  }
  bool refill(std::size_t keep = 0);
  int carriage_return();
  void skip_blanks();
  void discard_line();  // the rest of the current line, if any of it was read
  [[noreturn]] void fail(const std::string& message, ReadSite site);

  std::streambuf* in_;
  void (*before_wait_)(void*) = nullptr;
  void* wait_context_ = nullptr;
  char buf_[4097] = {};  // what was read, then a NUL
  const char* p_ = buf_;
  const char* end_ = buf_;
  bool mid_line_ = false;  // some of the current line has been consumed
};

}  // namespace amostra
