// The built program under hostile input and output: a line of a gigabyte, and
// an output that is closed early.  Memory stays bounded and the run ends
// promptly with status 0 or 2.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "support/child.hpp"

using amostra::test::Child;
using amostra::test::drain;
using amostra::test::read_then_close;
using amostra::test::start_child;
using amostra::test::wait_for;
using amostra::test::write_all;

namespace {

#ifdef AMOSTRA_SANITIZED
constexpr long long kLineBytes = 64LL << 20;  // sanitizers make every byte slow
#else
constexpr long long kLineBytes = 1LL << 30;
#endif
constexpr long kMaxRssKiB = 8 * 1024;

TEST(Resources, AGigabyteLineIsReadInBoundedMemory) {
  signal(SIGPIPE, SIG_IGN);
  Child c = start_child(AMOSTRA_PROGRAM);
  std::string out, err;
  std::thread o = drain(c.out, out, 1 << 20), e = drain(c.err, err, 1 << 16);
  // At the menu: blanks, then leading zeros, then 17; the line is one value.
  std::string chunk(1 << 20, ' ');
  for (long long sent = 0; sent < kLineBytes / 2; sent += static_cast<long long>(chunk.size()))
    write_all(c.in, chunk);
  chunk.assign(chunk.size(), '0');
  for (long long sent = 0; sent < kLineBytes / 2; sent += static_cast<long long>(chunk.size()))
    write_all(c.in, chunk);
  write_all(c.in, "17\n0\n");
  close(c.in);
  int status = 0;
  rusage usage{};
  wait4(c.pid, &status, 0, &usage);
  o.join();
  e.join();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);  // the confirmation 0 redraws the menu, then the input ends
  EXPECT_NE(out.find("Voce escolheu Potencial agregativo/discriminativo"), std::string::npos);
  EXPECT_NE(err.find("End of file"), std::string::npos) << err;
#ifndef AMOSTRA_SANITIZED
  EXPECT_LE(usage.ru_maxrss, kMaxRssKiB) << "peak resident memory in KiB";
#endif
}

TEST(Resources, ClosedOutputEndsTheRunPromptly) {
  signal(SIGPIPE, SIG_IGN);
  Child c = start_child(AMOSTRA_PROGRAM);
  std::string err;
  std::thread e = drain(c.err, err, 1 << 16);
  // Read 100 bytes of output, then close it, as `amostra < session | head -c 100` does.
  std::thread reader = read_then_close(c.out, 100);
  // A long session: thousands of menu redraws, then an interactive pause.
  std::string session;
  for (int k = 0; k < 5000; ++k) session += "18\n";
  write_all(c.in, session);
  reader.join();
  auto start_time = std::chrono::steady_clock::now();
  int status = 0;
  pid_t done = 0;
  while ((done = waitpid(c.pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - start_time < std::chrono::seconds(10))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (done == 0) {
    kill(c.pid, SIGKILL);
    waitpid(c.pid, &status, 0);
    ADD_FAILURE() << "the program went on after its output was closed";
  }
  close(c.in);
  e.join();
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(err, "Runtime error: cannot write to standard output\n");
}

TEST(Resources, EachPromptIsShownBeforeTheProgramWaits) {
  signal(SIGPIPE, SIG_IGN);
  Child c = start_child(AMOSTRA_PROGRAM);
  std::string seen;
  // Nothing is typed until the question is on the screen.
  EXPECT_TRUE(wait_for(c.out, "DIGITE O CODIGO DA APLICACAO", seen));
  write_all(c.in, "11\n");
  EXPECT_TRUE(wait_for(c.out, "Confirma a  escolha?", seen));
  close(c.in);
  close(c.out);
  close(c.err);
  int status = 0;
  waitpid(c.pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
}

}  // namespace
