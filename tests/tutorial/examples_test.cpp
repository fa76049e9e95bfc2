// The tutorial's worked examples are executed: every block a page marks as an
// example must be exactly what the program shows for its typed answers.
//
// A page marks an example with an HTML comment naming its typed answers,
// relative to the page, directly followed by a ```text block:
//   <!-- exemplo: exemplos/04-anova.in -->
// A session whose file ends in -erro.in must stop on a fatal input error; a
// block marked <!-- erro: exemplos/NAME-erro.in --> shows the last line of the
// error report.  To write a block, print the screen with the tutorial_example
// tool and read it before pasting.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "support/golden.hpp"
#include "tutorial/example_session.hpp"

namespace fs = std::filesystem;
using amostra::test::golden_names;
using amostra::test::golden_test_name;
using amostra::test::slurp;
using amostra::test::run_example;
using amostra::test::split_lines;

namespace {

struct Block {
  fs::path page;
  int line = 0;          // line of the marker in the page
  std::string kind;      // "exemplo" or "erro"
  std::string target;    // as written in the marker
  fs::path input;        // resolved .in file
  bool fenced = false;   // a ```text block follows the marker
  std::string text;      // the block's lines, each ended by LF
};

// The marker's kind and target, if `line` is a marker.
bool marker(const std::string& line, std::string& kind, std::string& target) {
  std::string s = line;
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.pop_back();
  for (const char* k : {"exemplo", "erro"}) {
    std::string open = std::string("<!-- ") + k + ": ";
    if (s.rfind(open, 0) == 0 && s.size() > open.size() + 4 && s.compare(s.size() - 4, 4, " -->") == 0) {
      kind = k;
      target = s.substr(open.size(), s.size() - open.size() - 4);
      return true;
    }
  }
  return false;
}

std::vector<Block> scan_page(const fs::path& page) {
  std::vector<Block> blocks;
  std::vector<std::string> lines = split_lines(slurp(page));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Block b;
    if (!marker(lines[i], b.kind, b.target)) continue;
    b.page = page;
    b.line = static_cast<int>(i + 1);
    b.input = (page.parent_path() / b.target).lexically_normal();
    if (i + 1 < lines.size() && lines[i + 1] == "```text") {
      std::size_t j = i + 2;
      while (j < lines.size() && lines[j] != "```") b.text += lines[j++] + "\n";
      b.fenced = j < lines.size();
      i = j;
    }
    blocks.push_back(b);
  }
  return blocks;
}

std::vector<Block> all_blocks() {
  std::vector<Block> blocks;
  std::vector<fs::path> pages;
  for (const auto& e : fs::recursive_directory_iterator(AMOSTRA_TUTORIAL))
    if (e.path().extension() == ".md") pages.push_back(e.path());
  std::sort(pages.begin(), pages.end());
  for (const fs::path& p : pages)
    for (Block& b : scan_page(p)) blocks.push_back(b);
  return blocks;
}

std::string where(const Block& b) {
  return fs::relative(b.page, AMOSTRA_TUTORIAL).string() + ":" + std::to_string(b.line);
}

// A readable account of where two screens part: the first differing line
// with a few lines of context from both.
std::string screen_diff(const std::string& want, const std::string& got) {
  std::vector<std::string> w = split_lines(want), g = split_lines(got);
  std::size_t i = 0;
  while (i < w.size() && i < g.size() && w[i] == g[i]) ++i;
  std::ostringstream m;
  m << "first difference at screen line " << i + 1 << " (page: " << w.size() << " lines, program: " << g.size()
    << " lines)\n";
  std::size_t from = i >= 3 ? i - 3 : 0;
  for (std::size_t k = from; k < i; ++k) m << "    [" << w[k] << "]\n";
  for (std::size_t k = i; k < std::min(w.size(), i + 4); ++k) m << "  - [" << w[k] << "]\n";
  for (std::size_t k = i; k < std::min(g.size(), i + 4); ++k) m << "  + [" << g[k] << "]\n";
  m << "(- the page, + the program; brackets show where each line ends)";
  return m.str();
}

// gtest shows a failing parameter by its page and line.
void PrintTo(const Block& b, std::ostream* os) { *os << where(b) << " (" << b.target << ")"; }

bool is_error_session(const fs::path& input) {
  const std::string name = input.filename().string();
  return name.size() > 8 && name.compare(name.size() - 8, 8, "-erro.in") == 0;
}

std::string last_line(const std::string& text) {
  std::vector<std::string> lines = split_lines(text);
  return lines.empty() ? std::string() : lines.back();
}

class WorkedExample : public testing::TestWithParam<Block> {};

TEST_P(WorkedExample, ShowsWhatTheProgramPrints) {
  const Block& b = GetParam();
  SCOPED_TRACE(where(b) + " -> " + b.target);
  ASSERT_TRUE(b.fenced) << "the marker must be followed by a ```text block closed by ```";
  ASSERT_TRUE(fs::is_regular_file(b.input)) << "typed answers not found: " << b.input;
  auto r = run_example(slurp(b.input));
  if (is_error_session(b.input)) {
    EXPECT_EQ(r.status, 2) << "a -erro.in session must stop on an input error";
  } else {
    EXPECT_EQ(r.status, 0) << "the session did not end normally:\n" << r.err;
    EXPECT_EQ(r.unread, 0u) << "typed lines left over: the answers do not match the dialogue";
  }
  if (b.kind == "exemplo") {
    EXPECT_TRUE(b.text == r.screen) << screen_diff(b.text, r.screen);
  } else {
    ASSERT_TRUE(is_error_session(b.input)) << "an error block needs a session that ends in an error";
    EXPECT_EQ(b.text, last_line(r.err) + "\n");
  }
}

std::string block_name(const testing::TestParamInfo<Block>& info) {
  std::string name = info.param.kind + "_" + info.param.input.stem().string() + "_" + std::to_string(info.index);
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Tutorial, WorkedExample, testing::ValuesIn(all_blocks()), block_name);

TEST(TutorialPages, EveryApplicationHasAPageWithAnExample) {
  std::map<std::string, int> examples;  // page file name -> examples shown
  for (const Block& b : all_blocks())
    if (b.kind == "exemplo") ++examples[b.page.filename().string()];
  int pages = 0;
  for (const auto& e : fs::directory_iterator(AMOSTRA_TUTORIAL)) {
    std::string name = e.path().filename().string();
    if (name.size() > 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
        std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '-' && e.path().extension() == ".md") {
      ++pages;
      EXPECT_GE(examples[name], 1) << name << " shows no executed example";
    }
  }
  EXPECT_EQ(pages, 17) << "one page per application, named NN-name.md";
}

TEST(TutorialPages, EveryTypedSessionIsShownOnSomePage) {
  std::set<fs::path> shown;
  for (const Block& b : all_blocks()) shown.insert(b.input);
  const fs::path dir = fs::path(AMOSTRA_TUTORIAL) / "exemplos";
  ASSERT_TRUE(fs::is_directory(dir));
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.path().extension() == ".in") {
      EXPECT_TRUE(shown.count(e.path().lexically_normal())) << e.path() << " is referenced by no page";
    }
  }
}

// The harness itself: what it shows must be what a console with echo shows.

TEST(ExampleSession, TypedLinesAppearWhereTheProgramWaited) {
  auto r = run_example("1\n1\n1\n0\n0.05\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.unread, 0u);
  // The menu ends with its frame; the code typed follows it, then the empty
  // record written after the read.
  const std::string frame = " " + std::string(55, '*') + "\n";
  EXPECT_NE(r.screen.find(frame + frame + "1\n\n\n\n" + frame + " ** Voce escolheu Dimensionamento"),
            std::string::npos);
  EXPECT_NE(r.screen.find(" *** Qual o erro máximo aceito no dimensionamento? ***\n0.05\n\n"), std::string::npos);
  // The last answer comes just before the program's closing record.
  EXPECT_EQ(r.screen.substr(r.screen.size() - 19), "0\n Fim do Programa\n");
  EXPECT_EQ(r.screen.find('\r'), std::string::npos);
}

TEST(ExampleSession, AnEmptyLineIsShownAndTheProgramKeepsWaiting) {
  // An empty line where a value is asked supplies nothing: both lines show,
  // one after the other, at the same prompt.
  auto r = run_example("\n18\n");
  EXPECT_EQ(r.status, 2);  // the input ends at the redrawn menu
  const std::string tail = " ** CONSULTE O TUTORIAL E DIGITE O CODIGO DA APLICACAO**\n" + std::string(" ") +
                           std::string(55, '*') + "\n " + std::string(55, '*') + "\n\n18\n\n " +
                           std::string(55, '*') + "\n";
  EXPECT_NE(r.screen.find(tail), std::string::npos) << r.screen;
  EXPECT_EQ(last_line(r.err), "Runtime error: End of file");
}

TEST(ExampleSession, LeftoverLinesAreCounted) {
  auto r = run_example("11\n1\n1\n0.5\n0.6\n100\n0\n");
  EXPECT_EQ(r.status, 0);    // code 11 ends without the closing prompt...
  EXPECT_EQ(r.unread, 1u);   // ...so the last 0 is never asked for
  EXPECT_EQ(r.screen.find("\n0\n Fim"), std::string::npos);
}

TEST(ExampleSession, DecodesCodePage850AndTypedAccents) {
  EXPECT_EQ(amostra::test::from_cp850("\x87\xc6o \xa2\xa0\x82\xa1\xe4\xc1\xb3"), "ção óáéíõ┴│");
  // A species name typed with accents reaches the program as code page 850
  // and comes back on screen as typed.
  auto r = run_example("17\n1\n1\n2\nCoração\n");
  EXPECT_NE(r.screen.find("Coração\n"), std::string::npos);
  EXPECT_EQ(r.status, 2);
}

}  // namespace
