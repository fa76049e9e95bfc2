// Fuzz target: the whole dialogue, with the fuzz input as standard input.
//
// Holds for every input: the run ends with status 0 or 2; status 0 ends with
// "Fim do Programa"; status 2 writes its report on standard error and nothing
// reaches standard output after it.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "menu/program.hpp"

namespace {

// Records the order of writes across the two output streams.
struct Clock {
  long tick = 0;
};

class Stamped : public std::stringbuf {
 public:
  explicit Stamped(Clock& clock) : clock_(clock) {}
  long first = -1, last = -1;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    stamp();
    return std::stringbuf::xsputn(s, n);
  }
  int_type overflow(int_type c) override {
    stamp();
    return std::stringbuf::overflow(c);
  }

 private:
  void stamp() {
    last = ++clock_.tick;
    if (first < 0) first = last;
  }
  Clock& clock_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  Clock clock;
  Stamped out_buf(clock), err_buf(clock);
  std::ostream out(&out_buf), err(&err_buf);
  int status = amostra::run(in, out, err);
  const std::string text = out_buf.str();
  static const std::string kEnd = " Fim do Programa\r\n";
  switch (status) {
    case 0:
      if (text.size() < kEnd.size() || text.compare(text.size() - kEnd.size(), kEnd.size(), kEnd) != 0) std::abort();
      if (err_buf.first >= 0) std::abort();
      break;
    case 2:
      if (err_buf.first < 0) std::abort();
      if (out_buf.last > err_buf.first) std::abort();  // nothing on stdout after the error
      break;
    default:
      std::abort();
  }
  return 0;
}
