// The fields of a record: Aw, Iw, Fw.d and the list-directed items.
#pragma once

#include <string>
#include <string_view>

#include "console/record.hpp"

namespace amostra {

// Appends a text in a field of w columns (cut to its first w characters, or
// right-justified after w - L blanks).
void put_a(Record& out, std::string_view text, int w);

// Appends an integer right-justified in w columns; w asterisks if it does not fit.
void put_i(Record& out, int v, int w);

// Appends a real in Fw.d: the exact decimal value of the single, rounded to d
// places with halves away from zero; NaN and infinities spelt out; w asterisks
// when the number does not fit.
void put_f(Record& out, float x, int w, int d);

// List-directed items (without their separating blank).
void put_list_int(Record& out, int v);
void put_list_real(Record& out, float x);

}  // namespace amostra
