// The console of one run: every record written and every value read goes
// through here.
#pragma once

#include <initializer_list>
#include <istream>
#include <ostream>
#include <string>

#include "console/format.hpp"
#include "console/reader.hpp"
#include "console/value.hpp"

namespace amostra {

// Standard output could not be written (closed pipe, full disk): the run stops.
class OutputError : public std::runtime_error {
 public:
  OutputError() : std::runtime_error("cannot write to standard output") {}
};

class Console {
 public:
  Console(std::istream& in, std::ostream& out) : reader_(*in.rdbuf()), out_(out) {
    reader_.on_wait([](void* self) { static_cast<Console*>(self)->emit(); }, this);
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // A formatted write: `format` is a format literal, parsed once.
  void write(const char* format, std::initializer_list<Val> values = {}) {
    render_entry(record_, format_entry(format), values);
    if (record_.size() >= kBatch) emit();
  }
  // A list-directed write: one record; with no values an empty record.
  void list(std::initializer_list<Val> values = {}) {
    render_list(record_, values);
    if (record_.size() >= kBatch) emit();
  }
  // `n` empty records.
  void blank(int n = 1) {
    for (int k = 0; k < n; ++k) record_.append("\r\n", 2);
    if (record_.size() >= kBatch) emit();
  }

  // List-directed reads.  The defaults record the calling statement for the
  // error report.
  void read(int& v, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    reader_.read(v, {file, line});
  }
  void read(Real& v, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    reader_.read(v, {file, line});
  }
  void read(Real& a, Real& b, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    reader_.read(a, b, {file, line});
  }
  void read(Text& t, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    reader_.read(t, {file, line});
  }
  // The fixed-column "(I3)" read.
  void read_i3(int& v, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    reader_.read_i3(v, {file, line});
  }

  // Pushes what the output stream holds to its destination.
  void flush();

 private:
  // Records are collected and handed to the stream in batches: when the
  // reader has used up what was typed and the stream may wait for input (so a
  // prompt is out before the program waits), at a flush, and whenever a batch
  // has grown to kBatch bytes.
  static constexpr std::size_t kBatch = 4096;
  void emit();

  Reader reader_;
  std::ostream& out_;
  Record record_;  // the records not yet handed to the stream
};

}  // namespace amostra
