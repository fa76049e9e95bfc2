// amostra-utf8 driven through pipes, as a UTF-8 terminal would: the golden
// sessions read in UTF-8, accented names typed in UTF-8, prompts shown before
// the program waits, and the end of input, a closed output and Ctrl-C
// behaving as they do for the program itself.
#ifdef AMOSTRA_UTF8

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/cp850.hpp"
#include "support/child.hpp"
#include "support/golden.hpp"

namespace fs = std::filesystem;
using amostra::test::Child;
using amostra::test::drain;
using amostra::test::read_then_close;
using amostra::test::start_child;
using amostra::test::wait_for;
using amostra::test::wait_status;
using amostra::test::write_all;
using amostra::test::golden_names;
using amostra::test::golden_test_name;
using amostra::test::slurp;

namespace {

struct Outcome {
  std::string out, err;
  int status;
};

// Types the whole of `input` and collects everything, as `prog < file` does.
Outcome run(const std::string& path, const std::string& input, bool output_closed = false) {
  Child c = start_child(path, output_closed);
  Outcome r;
  std::thread o;
  if (c.out >= 0) o = drain(c.out, r.out);
  std::thread e = drain(c.err, r.err);
  write_all(c.in, input);
  close(c.in);
  r.status = wait_status(c.pid);
  if (o.joinable()) o.join();
  e.join();
  return r;
}

std::string utf8(std::string_view cp850) {
  std::string s;
  amostra::append_utf8(s, cp850);
  return s;
}

// ---------------------------------------------------------------------------
// Every golden session with an ASCII input reads the same, in UTF-8.

class ThroughUtf8 : public testing::TestWithParam<std::string> {};

TEST_P(ThroughUtf8, GoldenSessionReadsInUtf8) {
  fs::path base = fs::path(AMOSTRA_TRANSCRIPTS) / GetParam();
  std::string input = slurp(base.string() + ".in");
  for (char ch : input)
    if (static_cast<unsigned char>(ch) >= 0x80) GTEST_SKIP() << "input is not ASCII";
  Outcome r = run(AMOSTRA_UTF8, input);
  std::string want = utf8(slurp(base.string() + ".out"));
  EXPECT_TRUE(r.out == want) << "output differs from the golden session in UTF-8";
  fs::path err_file = base.string() + ".err";
  if (fs::exists(err_file)) {
    std::string last_want = utf8(slurp(err_file));
    last_want = last_want.substr(0, last_want.find('\n'));
    EXPECT_EQ(r.status, 2);
    ASSERT_FALSE(r.err.empty());
    std::string last = r.err.substr(0, r.err.size() - 1);
    EXPECT_EQ(last.substr(last.rfind('\n') + 1), last_want);
  } else {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Golden, ThroughUtf8, testing::ValuesIn(golden_names(AMOSTRA_TRANSCRIPTS)), golden_test_name);

// ---------------------------------------------------------------------------
// Names typed in UTF-8 at code 17.

// Characters on a line of UTF-8 (its columns on a terminal, for this text).
std::size_t columns(const std::string& line) {
  std::size_t n = 0;
  for (char c : line) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// Coded character, three species; "cor" in two states.  The third name holds
// a letter the code page lacks, the second state is typed with CR LF.
const std::string kAccentedSession =
    "17\n1\n1\n3\nApis-açu\nMelipona\nTrigona-Ω\ncor\n2\n'amarelo claro'\ncastanho\r\n"
    "1\n1\n2\n1\n1\n1\n0\n0\n";

TEST(Utf8Companion, AccentedNamesFillTheirColumns) {
  Outcome r = run(AMOSTRA_UTF8, kAccentedSession);
  ASSERT_EQ(r.status, 0) << r.err;
  // A blank, an asterisk, a blank, "Codigo:", the character in 20 columns,
  // " em ", the species in 20 columns, an asterisk: 55 columns.
  const std::string code1 = " * Codigo:cor                  em Apis-açu            *\r\n";
  const std::string code3 = " * Codigo:cor                  em Trigona-?           *\r\n";
  // A blank, an asterisk, 10 blanks, "Voce informou", a blank, the state in
  // 20 columns, 8 blanks, an asterisk: 55 columns.
  const std::string told = " *          Voce informou amarelo claro               *\r\n";
  const std::string told2 = " *          Voce informou castanho                    *\r\n";
  for (const std::string* rec : {&code1, &code3, &told, &told2}) {
    EXPECT_EQ(columns(*rec), 57u) << *rec;  // 55 columns and CR LF
    EXPECT_NE(r.out.find(*rec), std::string::npos) << "missing: " << *rec << r.out;
  }
  // Species 1 and 3 were given state 1; D = 5 (3 - 2 sqrt 2) / 1.
  EXPECT_NE(r.out.find(" ********** Grau de Discriminaçao / Agregacao *********\r\n"
                       " ********************  D = 0.8579  ********************\r\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("Caracter muito agregativo"), std::string::npos);
  // Every record of the session is as wide as the program made it: the same
  // session typed straight into the program in code page 850 bytes.
  Outcome direct = run(AMOSTRA_PROGRAM, amostra::to_cp850(kAccentedSession));
  EXPECT_EQ(direct.status, 0);
  EXPECT_TRUE(r.out == utf8(direct.out));
}

// ---------------------------------------------------------------------------
// Interactive use: each prompt arrives before the program waits.

TEST(Utf8Companion, EachPromptArrivesBeforeTheAnswerIsTyped) {
  Child c = start_child(AMOSTRA_UTF8);
  std::string seen;
  ASSERT_TRUE(wait_for(c.out, "DIGITE O CODIGO DA APLICACAO**\r\n *******************************************************\r\n"
                              " *******************************************************\r\n",
                       seen));
  EXPECT_NE(seen.find(" *          APLICAÇÃO                          CODIGO  *\r\n"), std::string::npos);
  const std::pair<const char*, const char*> steps[] = {
      {"17\n", "Confirma a  escolha?"},
      {"1\n", "(2 = Variaveis continuas-Mensuracoes (pesos,medidas)*\r\n *****"},
      {"1\n", "Digitar o numero de especies"},
      {"1\n", "Digitar o nome da especie  1            *\r\n ******************************************************\r\n"},
      {"Apis-açu\n", "Qual carater taxonomico sera analisado?"},
      {"asa\n", "Quantos status esse caracter apresenta no grupo?"},
      {"1\n", "Qual status sera identificado pelo codigo  1"},
      {"'amarelo claro'\n", " * Codigo:asa                  em Apis-açu            *\r\n *****"},
      {"1\n", " *          Voce informou amarelo claro               *\r\n"},
  };
  for (const auto& [typed, prompt] : steps) {
    write_all(c.in, typed);
    std::size_t before = seen.size();
    EXPECT_TRUE(wait_for(c.out, prompt, seen)) << "after typing " << typed << " waited for " << prompt
                                                << ", saw: " << seen.substr(before);
  }
  // The end of input now stops the program as it would without the companion.
  close(c.in);
  std::string rest, err;
  std::thread o = drain(c.out, rest), e = drain(c.err, err);
  EXPECT_EQ(wait_status(c.pid), 2);
  o.join();
  e.join();
  EXPECT_NE(err.find("\nRuntime error: End of file\n"), std::string::npos) << err;
}

TEST(Utf8Companion, EndOfInputAsForTheProgram) {
  // Input ends at the confirmation, and again in the middle of a character.
  for (std::string typed : {"17\n", "17\n1\n1\n1\nApis-a\xC3"}) {
    Outcome through = run(AMOSTRA_UTF8, typed);
    Outcome direct = run(AMOSTRA_PROGRAM, amostra::to_cp850(typed));
    EXPECT_EQ(through.status, 2);
    EXPECT_EQ(through.status, direct.status);
    EXPECT_TRUE(through.out == utf8(direct.out));
    EXPECT_EQ(through.err, direct.err);
  }
}

// ---------------------------------------------------------------------------
// A closed output ends the run with status 2 and the program's report.

TEST(Utf8Companion, ClosedOutputAsForTheProgram) {
  const std::string report = "Runtime error: cannot write to standard output\n";
  // Closed from the start, with a session that would end normally.
  const std::string session = "1\n1\n1\n0\n0.05\n0\n";
  for (const char* path : {AMOSTRA_PROGRAM, AMOSTRA_UTF8}) {
    Outcome r = run(path, session, /*output_closed=*/true);
    EXPECT_EQ(r.status, 2) << path;
    EXPECT_EQ(r.err, report) << path;
  }
  // Closed after 100 bytes, in a long session (thousands of menu redraws).
  Child c = start_child(AMOSTRA_UTF8);
  std::string err;
  std::thread e = drain(c.err, err);
  std::thread reader = read_then_close(c.out, 100);
  std::string redraws;
  for (int k = 0; k < 5000; ++k) redraws += "18\n";
  write_all(c.in, redraws);
  reader.join();
  EXPECT_EQ(wait_status(c.pid), 2) << "went on after its output was closed";
  close(c.in);
  e.join();
  EXPECT_EQ(err, report);
}

// ---------------------------------------------------------------------------
// Ctrl-C ends both processes; nothing is left behind.

// The processes whose parent is `pid` (empty where /proc cannot tell).
std::vector<pid_t> children_of(pid_t pid) {
  std::vector<pid_t> found;
  DIR* d = opendir("/proc");
  if (!d) return found;
  while (dirent* e = readdir(d)) {
    pid_t p = static_cast<pid_t>(std::atoi(e->d_name));
    if (p <= 0) continue;
    std::ifstream f("/proc/" + std::string(e->d_name) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::size_t close_paren = stat.rfind(')');
    if (close_paren == std::string::npos) continue;
    std::istringstream rest(stat.substr(close_paren + 2));
    char state;
    pid_t parent = 0;
    rest >> state >> parent;
    if (parent == pid) found.push_back(p);
  }
  closedir(d);
  return found;
}

TEST(Utf8Companion, InterruptEndsBothProcesses) {
  // Ctrl-C at a terminal signals the whole foreground group; `kill -INT`
  // signals the companion alone, which passes it on.
  for (bool whole_group : {true, false}) {
    Child c = start_child(AMOSTRA_UTF8);
    std::string seen;
    ASSERT_TRUE(wait_for(c.out, "DIGITE O CODIGO DA APLICACAO", seen));
    std::vector<pid_t> program = children_of(c.pid);
    kill(whole_group ? -c.pid : c.pid, SIGINT);
    EXPECT_EQ(wait_status(c.pid, 5), 128 + SIGINT) << (whole_group ? "group" : "companion alone");
    for (int fd : {c.in, c.out, c.err}) close(fd);
    if (program.empty()) {
      std::printf("note: /proc does not list the program's process; only the companion's end is checked\n");
      continue;
    }
    ASSERT_EQ(program.size(), 1u);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (kill(program[0], 0) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_NE(kill(program[0], 0), 0) << "the program outlived the companion";
  }
}

// ---------------------------------------------------------------------------
// The program is found beside the companion, through a symbolic link too.

TEST(Utf8Companion, StartsTheProgramBesideItself) {
  fs::path dir = fs::temp_directory_path() / ("amostra-utf8-" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::copy_file(AMOSTRA_UTF8, dir / "alone", fs::copy_options::overwrite_existing);
  fs::create_symlink(AMOSTRA_UTF8, dir / "linked");
  Outcome alone = run((dir / "alone").string(), "11\n");
  EXPECT_EQ(alone.status, 127);
  EXPECT_EQ(alone.out, "");
  EXPECT_NE(alone.err.find("não foi possível iniciar " + (dir / "amostra").string()), std::string::npos) << alone.err;
  Outcome linked = run((dir / "linked").string(), "17\n");
  EXPECT_EQ(linked.status, 2);
  EXPECT_NE(linked.out.find("Voce escolheu Potencial agregativo/discriminativo"), std::string::npos);
  fs::remove_all(dir);
}

}  // namespace

#endif  // AMOSTRA_UTF8
