// Golden sessions that tell extended evaluation from double: every
// transcripts/**/extended_*.in must give its .out with the x87 precision
// control at 64 bits, and something else at 53 bits (expressions evaluated as
// in double) -- unless the build's arithmetic is the software type, which
// does not use the x87 at all and so gives the .out at either setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/arith.hpp"
#include "menu/program.hpp"
#include "soft_ext/x87_precision.hpp"
#include "support/golden.hpp"

namespace fs = std::filesystem;
using amostra::test::golden_names;
using amostra::test::golden_test_name;
using amostra::test::slurp;

namespace {

std::string output_at(const std::string& input, int bits) {
  amostra::test::X87Precision precision(bits);
  std::istringstream in(input);
  std::ostringstream out, err;
  EXPECT_EQ(amostra::run(in, out, err), 0) << err.str();
  return out.str();
}

std::vector<fs::path> sessions() {
  std::vector<fs::path> found;
  for (const auto& e : fs::recursive_directory_iterator(AMOSTRA_TRANSCRIPTS))
    if (e.path().extension() == ".in" && e.path().filename().string().rfind("extended_", 0) == 0)
      found.push_back(e.path());
  std::sort(found.begin(), found.end());
  return found;
}

TEST(ExtendedSessions, MatchAt64BitsAndDifferAt53) {
  const std::vector<fs::path> all = sessions();
  ASSERT_FALSE(all.empty());
  for (const fs::path& in : all) {
    const std::string input = slurp(in);
    const std::string want = slurp(fs::path(in).replace_extension(".out"));
    EXPECT_EQ(output_at(input, 64), want) << in;
#ifdef AMOSTRA_SOFT_EXT
    EXPECT_EQ(output_at(input, 53), want) << in << ": the software type must not depend on the x87";
#else
    EXPECT_NE(output_at(input, 53), want) << in << ": double evaluation gives the same bytes";
#endif
    // The setting is restored: a later session runs at 64 bits again.
    EXPECT_EQ(output_at(input, 64), want) << in;
  }
}

}  // namespace
