// The program's own texts are written in the source in UTF-8 and leave the
// program as code page 850 bytes.  Conversion happens once per literal.
//
// The same table serves the UTF-8 companion (amostra-utf8), which converts
// the program's output to UTF-8 and typed lines to code page 850.
#pragma once

#include <string>
#include <string_view>

namespace amostra {

// Converts UTF-8 text to code page 850 bytes.  A character that code page 850
// lacks (never one of the program's texts), and every byte of the text that
// is not well-formed UTF-8, becomes '?'.
std::string to_cp850(std::string_view utf8);

// The code page 850 bytes of a string literal, converted on first use and kept
// for the rest of the run.  Only string literals (static storage) may be passed.
std::string_view cp850_literal(const char* utf8);

// Appends the UTF-8 encoding of code page 850 bytes to `out`.  Each byte is a
// whole character, so text may be converted in pieces as it arrives.
void append_utf8(std::string& out, std::string_view cp850);

// Converts UTF-8 to code page 850 in pieces as they arrive: a character cut
// between two pieces is completed by the next one.  An ill-formed sequence
// (a stray continuation byte, a sequence cut short by another character, an
// overlong form, a surrogate, a value beyond U+10FFFF) becomes one '?' and the
// byte that broke it is read afresh, so a line end is never swallowed.
class Utf8ToCp850 {
 public:
  // Appends the code page 850 bytes of the complete characters in `utf8`.
  void feed(std::string_view utf8, std::string& out);
  // The text has ended: a character still incomplete becomes '?'.
  void finish(std::string& out);

 private:
  char32_t code_ = 0;        // the bits gathered so far
  int missing_ = 0;          // continuation bytes still expected
  unsigned char low_ = 0x80;  // the range of the next continuation byte
  unsigned char high_ = 0xBF;
};

}  // namespace amostra
