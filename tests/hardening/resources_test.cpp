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

namespace {

#ifdef AMOSTRA_SANITIZED
constexpr long long kLineBytes = 64LL << 20;  // sanitizers make every byte slow
#else
constexpr long long kLineBytes = 1LL << 30;
#endif
constexpr long kMaxRssKiB = 8 * 1024;

struct Child {
  pid_t pid;
  int in;   // write end of its standard input
  int out;  // read end of its standard output
  int err;  // read end of its standard error
};

Child start() {
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) ADD_FAILURE() << "pipe";
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    execl(AMOSTRA_PROGRAM, AMOSTRA_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  return {pid, in[1], out[0], err[0]};
}

// Drains a descriptor in the background, keeping at most `keep` bytes.
std::thread drain(int fd, std::string& kept, std::size_t keep) {
  return std::thread([fd, &kept, keep] {
    char buf[65536];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
      if (kept.size() < keep) kept.append(buf, static_cast<std::size_t>(std::min<ssize_t>(n, 4096)));
    close(fd);
  });
}

void write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w <= 0) return;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
}

TEST(Resources, AGigabyteLineIsReadInBoundedMemory) {
  signal(SIGPIPE, SIG_IGN);
  Child c = start();
  std::string out, err;
  std::thread o = drain(c.out, out, 1 << 20), e = drain(c.err, err, 1 << 16);
  // At the menu: blanks, then leading zeros, then 17; the line is one value.
  std::string chunk(1 << 20, ' ');
  for (long long sent = 0; sent < kLineBytes / 2; sent += static_cast<long long>(chunk.size()))
    write_all(c.in, chunk.data(), chunk.size());
  chunk.assign(chunk.size(), '0');
  for (long long sent = 0; sent < kLineBytes / 2; sent += static_cast<long long>(chunk.size()))
    write_all(c.in, chunk.data(), chunk.size());
  const char tail[] = "17\n0\n";
  write_all(c.in, tail, sizeof tail - 1);
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
  Child c = start();
  std::string err;
  std::thread e = drain(c.err, err, 1 << 16);
  // Read 100 bytes of output, then close it, as `amostra < session | head -c 100` does.
  std::thread reader([fd = c.out] {
    char buf[100];
    std::size_t got = 0;
    while (got < sizeof buf) {
      ssize_t n = read(fd, buf + got, sizeof buf - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    close(fd);
  });
  // A long session: thousands of menu redraws, then an interactive pause.
  std::string session;
  for (int k = 0; k < 5000; ++k) session += "18\n";
  write_all(c.in, session.data(), session.size());
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

// Reads the child's output until `text` appears or a few seconds pass.
bool wait_for(int fd, const std::string& text, std::string& seen) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  char buf[4096];
  while (seen.find(text) == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return false;
    seen.append(buf, static_cast<std::size_t>(n));
  }
  return true;
}

TEST(Resources, EachPromptIsShownBeforeTheProgramWaits) {
  signal(SIGPIPE, SIG_IGN);
  Child c = start();
  std::string seen;
  // Nothing is typed until the question is on the screen.
  EXPECT_TRUE(wait_for(c.out, "DIGITE O CODIGO DA APLICACAO", seen));
  write_all(c.in, "11\n", 3);
  EXPECT_TRUE(wait_for(c.out, "Confirma a  escolha?", seen));
  close(c.in);
  close(c.out);
  close(c.err);
  int status = 0;
  waitpid(c.pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
}

}  // namespace
