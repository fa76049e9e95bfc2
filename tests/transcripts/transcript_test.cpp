// Golden sessions: every NAME.in under this folder is typed into the program;
// its standard output must equal NAME.out byte for byte.  When NAME.err exists
// the session must end with status 2 and standard error's last line must equal
// that file's first line; otherwise the status must be 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/golden.hpp"
#include "support/session.hpp"

namespace fs = std::filesystem;
using amostra::test::golden_names;
using amostra::test::golden_test_name;
using amostra::test::slurp;

namespace {

// The first record where two outputs differ, for a readable failure.
std::string first_difference(const std::string& want, const std::string& got) {
  std::size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  std::size_t start = want.rfind('\n', i == 0 ? 0 : i - 1);
  start = start == std::string::npos ? 0 : start + 1;
  auto line = [&](const std::string& s) {
    std::size_t end = s.find('\n', start);
    return s.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
  };
  std::ostringstream m;
  m << "first difference at byte " << i << "\n  want: [" << line(want) << "]\n  got:  [" << line(got) << "]";
  return m.str();
}

class Transcript : public testing::TestWithParam<std::string> {};

TEST_P(Transcript, MatchesGolden) {
  fs::path base = fs::path(AMOSTRA_TRANSCRIPTS) / GetParam();
  std::string input = slurp(base.string() + ".in");
  std::string want = slurp(base.string() + ".out");
  fs::path err_file = base.string() + ".err";
  auto s = amostra::test::run_session(input);
  EXPECT_TRUE(s.out == want) << first_difference(want, s.out);
  if (fs::exists(err_file)) {
    std::string err_want = slurp(err_file);
    err_want = err_want.substr(0, err_want.find('\n'));
    EXPECT_EQ(s.status, 2);
    std::string last = s.err.substr(0, s.err.size() - 1);
    last = last.substr(last.rfind('\n') + 1);
    EXPECT_EQ(last, err_want);
  } else {
    EXPECT_EQ(s.status, 0) << s.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, Transcript, testing::ValuesIn(golden_names(AMOSTRA_TRANSCRIPTS)), golden_test_name);

}  // namespace
