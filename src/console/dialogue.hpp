// Dialogue pieces shared by the applications.
#pragma once

#include "console/console.hpp"

namespace amostra {

// The refusal of a count that would not fit its working arrays: an empty
// record, the message with the largest accepted value, an empty record.
void refuse_capacity(Console& c, int maximum);

// How a count is read: list-directed, or with the fixed-column "(I3)" read.
enum class CountRead { List, I3 };

// Shows a count's prompt and reads the count, again and again while it exceeds
// `maximum`.  The prompt is the records that ask for the count: its question
// and whatever is written after it up to the read; headings and empty records
// written before the question are not shown again.  Counts of zero or below
// are accepted: the loops over them do nothing.
template <class Prompt>
void read_count(Console& c, int& count, int maximum, Prompt&& prompt, CountRead how = CountRead::List,
                const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
  for (;;) {
    prompt();
    if (how == CountRead::I3) c.read_i3(count, file, line);
    else c.read(count, file, line);
    if (count <= maximum) return;
    refuse_capacity(c, maximum);
  }
}

}  // namespace amostra
