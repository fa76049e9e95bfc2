// A program under test run as a child process on three pipes (POSIX), and
// the small helpers that drive it: typing, draining, waiting for a prompt,
// closing its output early, and its exit status.  Header-only.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <thread>

namespace amostra::test {

struct Child {
  pid_t pid;
  int in;   // write end of its standard input
  int out;  // read end of its standard output (-1: closed before the start)
  int err;  // read end of its standard error
};

// Starts `path` in a process group of its own, on three pipes.  With
// `output_closed` its standard output is a pipe whose reading end is already
// closed.  A write to a closed pipe is an error here, not a signal.
inline Child start_child(const std::string& path, bool output_closed = false) {
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) ADD_FAILURE() << "pipe";
  if (output_closed) close(out[0]);
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    signal(SIGPIPE, SIG_DFL);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[1], err[0], err[1]}) close(fd);
    if (!output_closed) close(out[0]);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  return {pid, in[1], output_closed ? -1 : out[0], err[0]};
}

// Drains a descriptor in the background, keeping at most `keep` bytes, and
// closes it at its end.
inline std::thread drain(int fd, std::string& kept, std::size_t keep = std::string::npos) {
  return std::thread([fd, &kept, keep] {
    char buf[65536];
    ssize_t n;
    while ((n = read(fd, buf, sizeof buf)) > 0)
      if (kept.size() < keep) kept.append(buf, std::min(static_cast<std::size_t>(n), keep - kept.size()));
    close(fd);
  });
}

// Reads `bytes` bytes of a descriptor in the background, then closes it, as
// `program | head -c 100` does.
inline std::thread read_then_close(int fd, std::size_t bytes) {
  return std::thread([fd, bytes] {
    char buf[4096];
    std::size_t got = 0;
    while (got < bytes) {
      ssize_t n = read(fd, buf, std::min(sizeof buf, bytes - got));
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    close(fd);
  });
}

// Writes all of `s`, or as much as the reader takes before it goes away.
inline void write_all(int fd, std::string_view s) {
  const char* p = s.data();
  std::size_t n = s.size();
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w <= 0) return;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
}

// Exit status as a shell reports it: the code, or 128 + the signal.  -1 when
// the process has not ended within `seconds` (its group is then killed).
inline int wait_status(pid_t pid, int seconds = 10) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// Reads until `text` appears in `seen` or a few seconds pass.
inline bool wait_for(int fd, const std::string& text, std::string& seen) {
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

}  // namespace amostra::test
