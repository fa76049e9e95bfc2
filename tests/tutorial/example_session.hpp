// Worked examples of the tutorial: a session typed line by line, shown the
// way a console with echo shows it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace amostra::test {

// Code page 850 bytes to UTF-8 (every byte has a character).
std::string from_cp850(std::string_view bytes);

struct ExampleRun {
  std::string screen;    // the interleaved transcript, UTF-8, LF line ends
  std::string err;       // standard error as written
  int status = 0;        // exit status
  std::size_t unread = 0;  // typed lines the program never asked for
};

// Runs the program in-process on `typed` (UTF-8, one answer per line).  Each
// line is handed to the program only when it asks for more input; the output
// written up to that moment (the console shows every record before it waits)
// is followed on screen by the typed line, as a console with echo shows it.
ExampleRun run_example(const std::string& typed);

// Splits text into lines (without their LF); a last line without LF counts.
std::vector<std::string> split_lines(const std::string& text);

}  // namespace amostra::test
