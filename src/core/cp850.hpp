// The program's own texts are written in the source in UTF-8 and leave the
// program as code page 850 bytes.  Conversion happens once per literal.
#pragma once

#include <string>
#include <string_view>

namespace amostra {

// Converts UTF-8 text to code page 850 bytes.  A character that code page 850
// lacks (never one of the program's texts) becomes '?'.
std::string to_cp850(std::string_view utf8);

// The code page 850 bytes of a string literal, converted on first use and kept
// for the rest of the run.  Only string literals (static storage) may be passed.
std::string_view cp850_literal(const char* utf8);

}  // namespace amostra
