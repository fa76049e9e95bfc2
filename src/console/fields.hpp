// The fields of a record: Aw, Iw, Fw.d and the list-directed items.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "console/record.hpp"

namespace amostra {

// Appends a text in a field of w columns (cut to its first w characters, or
// right-justified after w - L blanks).
void put_a(Record& out, std::string_view text, int w);

// Appends an integer right-justified in w columns; w asterisks if it does not fit.
void put_i_general(Record& out, int v, int w);
inline void put_i(Record& out, int v, int w) {
  const auto u = static_cast<unsigned>(v);
  if (u < 100 && w >= 2 && w <= 16) {
    // The usual case: a count or code of one or two digits in a narrow field.
    char* d = out.extend(static_cast<std::size_t>(w));
    std::memset(d, ' ', 16);  // a fixed size: a few stores, no call
    const unsigned tens = u / 10;
    d[w - 1] = static_cast<char>('0' + (u - tens * 10));
    if (tens != 0) d[w - 2] = static_cast<char>('0' + tens);
    return;
  }
  put_i_general(out, v, w);
}

// Appends a real in Fw.d: the exact decimal value of the single, rounded to d
// places with halves away from zero; NaN and infinities spelt out; w asterisks
// when the number does not fit.
void put_f(Record& out, float x, int w, int d);

// List-directed items (without their separating blank).
void put_list_int(Record& out, int v);
void put_list_real(Record& out, float x);

}  // namespace amostra
