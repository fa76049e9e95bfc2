// Differential fuzz target: every input is typed into the program twice, once
// built on the processor's x87 extended arithmetic and once on the software
// extended type (the same sources compiled a second time with their namespace
// renamed), and the two runs must agree on every byte of standard output, of
// standard error, and on the exit status.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace amostra {
int run(std::istream& in, std::ostream& out, std::ostream& err);
}
namespace amostra_soft {
int run(std::istream& in, std::ostream& out, std::ostream& err);
}

namespace {

struct Outcome {
  std::string out, err;
  int status;
};

template <class Run>
Outcome session(Run run, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  int status = run(in, out, err);
  return {out.str(), err.str(), status};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  Outcome hard = session(amostra::run, input);
  Outcome soft = session(amostra_soft::run, input);
  if (hard.status != soft.status || hard.out != soft.out || hard.err != soft.err) {
    std::size_t i = 0;
    while (i < hard.out.size() && i < soft.out.size() && hard.out[i] == soft.out[i]) ++i;
    std::fprintf(stderr, "x87 and software arithmetic differ: status %d/%d, output from byte %zu\n", hard.status,
                 soft.status, i);
    std::abort();
  }
  return 0;
}
