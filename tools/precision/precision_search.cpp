// Finds sessions whose printed bytes depend on extended evaluation.
//
//   precision_search TRANSCRIPTS_DIR TRIALS [SEED [near]]
//
// Each golden session's input is a template: its numbers after the menu
// answers are varied at random (small counts stay small; data become
// multiples of 1/4 near the original, so that reading them is exact at any
// precision) and the session is run twice in-process, with the x87 precision
// control at 64 bits and at 53 bits (expressions then evaluate as in double).
// Inputs whose output differs are printed, with the first differing record
// of each run, for a person to turn into a golden session.
//
// With "near", every typed number that has a decimal point becomes a nearly
// constant datum instead: one large centre per trial (512 to 8191, times a
// power of two up to 2^7) plus up to a few hundred quarters. Sums of squares
// of such data cancel (somax2 - somax*somax/n), so a quotient rounded at
// 2^-53 instead of 2^-64 moves the stored single far more often than with
// spread data. Whole numbers (counts, sizes) are kept. The printed field
// changes much more rarely (the moved unit must straddle a printed decimal);
// tools/precision/variance_search.cpp searches one expression directly, much faster.
// PRECISION_SEARCH_SHOW=1 prints every input tried, with its output size.
// TRIALS 0 runs every template once as typed (to check a constructed input).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "menu/program.hpp"
#include "soft_ext/x87_precision.hpp"

namespace fs = std::filesystem;

namespace {

struct Rng {
  std::uint64_t s;
  std::uint64_t next() {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  long range(long lo, long hi) { return lo + static_cast<long>(next() % static_cast<std::uint64_t>(hi - lo + 1)); }
};

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string run_at(const std::string& input, int bits, int& status) {
  amostra::test::X87Precision precision(bits);
  std::istringstream in(input);
  std::ostringstream out, err;
  status = amostra::run(in, out, err);
  return out.str() + "\n--stderr--\n" + err.str();
}

std::string vary(const std::string& text, Rng& g, bool near) {
  std::string out;
  const long centre = g.range(512, 8191) << g.range(0, 7);
  const long spread = g.range(4, 400);
  std::size_t i = 0;
  int line = 0;
  while (i < text.size()) {
    char ch = text[i];
    bool starts = (ch >= '0' && ch <= '9') || ((ch == '-') && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9');
    if (ch == '\n') ++line;
    if (!starts || line < 2 || (i > 0 && (std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '.'))) {
      out += ch;
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < text.size() && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.')) ++j;
    std::string tok = text.substr(i, j - i);
    double v = std::atof(tok.c_str());
    if (near) {
      if (tok.find('.') == std::string::npos) {
        out += tok;  // counts and sizes kept as typed
      } else {
        char buf[48];
        std::snprintf(buf, sizeof buf, "%.2f", centre + g.range(-spread, spread) / 4.0);
        out += buf;
      }
    } else if (g.next() % 3 == 0) {
      out += tok;  // kept as typed
    } else if (tok.find('.') == std::string::npos && std::abs(v) < 10) {
      out += std::to_string(static_cast<long>(v) + g.range(-1, 1));
    } else {
      long quarters = static_cast<long>(v * 4);
      long spread = std::max(8L, std::labs(quarters) / 2);
      long q = quarters + g.range(-spread, spread);
      char buf[48];
      std::snprintf(buf, sizeof buf, "%.2f", q / 4.0);
      out += buf;
    }
    i = j;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TRANSCRIPTS_DIR TRIALS [SEED]\n", argv[0]);
    return 2;
  }
  const long trials = std::atol(argv[2]);
  Rng g{argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1};
  const bool near = argc > 4 && std::string(argv[4]) == "near";
  std::vector<fs::path> templates;
  for (const auto& e : fs::recursive_directory_iterator(argv[1]))
    if (e.path().extension() == ".in") templates.push_back(e.path());
  std::sort(templates.begin(), templates.end());
  long found = 0;
  for (const fs::path& t : templates) {
    const std::string base = slurp(t);
    for (long k = 0; k < std::max(trials, 1L); ++k) {
      std::string input = trials == 0 ? base : vary(base, g, near);
      int s64 = 0, s53 = 0;
      std::string o64 = run_at(input, 64, s64), o53 = run_at(input, 53, s53);
      if (std::getenv("PRECISION_SEARCH_SHOW")) std::fprintf(stderr, "%s\n%zu bytes, status %d\n", input.c_str(), o64.size(), s64);
      if (o64 == o53 && s64 == s53) continue;
      ++found;
      std::size_t p = 0;
      while (p < o64.size() && p < o53.size() && o64[p] == o53[p]) ++p;
      std::size_t start = o64.rfind('\n', p == 0 ? 0 : p - 1);
      start = start == std::string::npos ? 0 : start + 1;
      auto record = [&](const std::string& o) { return o.substr(start, o.find('\n', start) - start); };
      std::printf("== %s (status %d/%d)\n64: %s\n53: %s\n-- input --\n%s-- end --\n", t.string().c_str(), s64, s53,
                  record(o64).c_str(), record(o53).c_str(), input.c_str());
    }
  }
  std::fprintf(stderr, "%ld sessions differ\n", found);
  return 0;
}
