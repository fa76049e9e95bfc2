// Runs whole sessions of the program in-process, for tests.
#pragma once

#include <initializer_list>
#include <string>

namespace amostra::test {

struct Session {
  std::string out;  // standard output bytes
  std::string err;  // standard error text
  int status;       // exit status
};

// Runs the program with `input` as its standard input.
Session run_session(const std::string& input);

// Records: each string (UTF-8 in the test source) converted to code page 850
// and ended by CR LF.
std::string records(std::initializer_list<std::string> lines);

// Runs application `code` (chosen and confirmed at the menu) with `answers`
// typed, then 0 at the end-of-application prompt; expects a normal end and
// returns the whole standard output.
std::string application_output(int code, const std::string& answers);

// Whether `out` holds these whole records, one after the other, each starting
// a line.
bool has_records(const std::string& out, std::initializer_list<std::string> lines);

// Standard output of a whole session that must end normally (status 0).
std::string out_of(const std::string& input);

// Whether `out` holds `record` as a whole record.
bool has_record(const std::string& out, const std::string& record);

// How many times `record` stands as a whole record in `out`.
int count_records(const std::string& out, const std::string& record);

// How many times `text` occurs in `out`.
int count_of(const std::string& out, const std::string& text);

// The record of `out` holding `marker` (without its CR LF); empty if none.
std::string record_with(const std::string& out, const std::string& marker);

// The record refusing a count above `maximum`.
std::string refusal(int maximum);

// "1\n2\n...\nlast\n": the numbers 1 to `last`, one a line.
std::string one_per_line(int last);

// The bytes of the menu screen, exactly as it is drawn each time.
std::string menu_screen();

// The confirmation records shown after a valid code (three empty records before them).
std::string confirmation(int code);

// The end-of-application prompt (one empty record and the three-record box).
std::string end_prompt();

}  // namespace amostra::test
