// amostra-utf8: runs the `amostra` program that sits beside it and speaks
// UTF-8 for it.
//
// The program writes code page 850 and reads typed lines as code page 850.
// This companion starts it with three pipes and, as bytes arrive:
//   - its standard output and standard error are converted to UTF-8 and
//     written at once (a prompt is never held back waiting for more);
//   - typed input is converted from UTF-8 to code page 850 (a character the
//     code page lacks, or ill-formed UTF-8, becomes '?'; line ends are kept
//     as typed), and the end of input closes the program's input;
//   - it ends with the program's exit status (128 + the signal number when
//     the program was killed by a signal).
// SIGINT, SIGTERM, SIGHUP and SIGQUIT are passed on to the program.  When
// standard output cannot be written the run ends as the program's own does:
// "Runtime error: cannot write to standard output" and status 2.
//
// POSIX only.  No options and no environment variables of its own.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/cp850.hpp"

extern char** environ;

namespace {

volatile sig_atomic_t g_child = 0;

void pass_on(int sig) {
  if (g_child > 0) kill(static_cast<pid_t>(g_child), sig);
}

// Writes everything, waiting when the descriptor would block.  False when the
// descriptor cannot be written (a closed pipe, for one).
bool write_all(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd pf{fd, POLLOUT, 0};
      poll(&pf, 1, -1);
      continue;
    }
    if (w <= 0) return false;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

void say(const std::string& text) { write_all(STDERR_FILENO, text.data(), text.size()); }

std::string directory_of(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The directory this program was started from: the kernel's record of it
// where there is one (symbolic links resolved), else the directory of argv[0]
// or, for a bare name, the first directory of PATH that holds it.
std::string own_directory(const char* argv0) {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) return directory_of(std::string(buf, static_cast<std::size_t>(n)));
  std::string name = argv0 ? argv0 : "";
  if (name.find('/') != std::string::npos) return directory_of(name);
  const char* path = getenv("PATH");
  std::string dirs = path ? path : "";
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir = ".";
    if (access((dir + "/" + name).c_str(), X_OK) == 0) return dir;
    if (end == std::string::npos) return ".";
    start = end + 1;
  }
}

struct Pipe {
  int read_end = -1;
  int write_end = -1;
};

bool make_pipe(Pipe& p) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  for (int fd : fds) fcntl(fd, F_SETFD, FD_CLOEXEC);
  p.read_end = fds[0];
  p.write_end = fds[1];
  return true;
}

void close_fd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Starts `program` with its standard streams on the pipes; 0 on failure.
pid_t start(const std::string& program, Pipe& in, Pipe& out, Pipe& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read_end, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.write_end, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write_end, STDERR_FILENO);
  // The program starts with the dispositions and mask it would have had if
  // started directly (this process ignores SIGPIPE).
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    errno = rc;
    return 0;
  }
  return pid;
}

void on_signals(void (*handler)(int)) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    if (old.sa_handler == SIG_IGN) continue;  // started ignoring it: keep it so
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sigaction(sig, &sa, nullptr);
  }
}

}  // namespace

int main(int /*argc*/, char** argv) {
  signal(SIGPIPE, SIG_IGN);  // a closed output shows as a failed write
  const std::string program = own_directory(argv[0]) + "/amostra";

  Pipe in, out, err;
  if (!make_pipe(in) || !make_pipe(out) || !make_pipe(err)) {
    say("amostra-utf8: não foi possível criar os canais: " + std::string(std::strerror(errno)) + "\n");
    return 127;
  }
  on_signals(pass_on);
  pid_t child = start(program, in, out, err);
  if (child == 0) {
    say("amostra-utf8: não foi possível iniciar " + program + ": " + std::strerror(errno) + "\n");
    return 127;
  }
  g_child = child;
  close_fd(in.read_end);
  close_fd(out.write_end);
  close_fd(err.write_end);
  // Typed input waits in `pending` until the program takes it; the write end
  // must not block, or a program busy writing and a full input pipe would wait
  // for each other.
  fcntl(in.write_end, F_SETFL, fcntl(in.write_end, F_GETFL) | O_NONBLOCK);

  int typed = STDIN_FILENO;
  amostra::Utf8ToCp850 decoder;
  std::string pending, converted;
  bool output_lost = false;
  char buf[65536];
  constexpr std::size_t kHeldInput = 1 << 16;  // read no more input than this ahead

  while (out.read_end >= 0 || err.read_end >= 0) {
    pollfd fds[4];
    int n = 0;
    int at_out = -1, at_err = -1, at_typed = -1, at_in = -1;
    if (out.read_end >= 0) fds[at_out = n++] = {out.read_end, POLLIN, 0};
    if (err.read_end >= 0) fds[at_err = n++] = {err.read_end, POLLIN, 0};
    if (typed >= 0 && pending.size() < kHeldInput) fds[at_typed = n++] = {typed, POLLIN, 0};
    if (in.write_end >= 0 && !pending.empty()) fds[at_in = n++] = {in.write_end, POLLOUT, 0};
    if (poll(fds, static_cast<nfds_t>(n), -1) < 0) continue;  // EINTR: a signal passed on

    // The program's output, converted and written as it comes.
    for (int at : {at_out, at_err}) {
      if (at < 0 || fds[at].revents == 0) continue;
      int& fd = at == at_out ? out.read_end : err.read_end;
      ssize_t got = read(fd, buf, sizeof buf);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) {
        close_fd(fd);
        continue;
      }
      converted.clear();
      amostra::append_utf8(converted, std::string_view(buf, static_cast<std::size_t>(got)));
      if (at == at_err) {
        write_all(STDERR_FILENO, converted.data(), converted.size());
      } else if (!write_all(STDOUT_FILENO, converted.data(), converted.size())) {
        // Our output is gone: close the program's, so that its next write
        // fails and it ends as it would on a closed output of its own.
        output_lost = true;
        close_fd(fd);
      }
    }

    // Typed lines, converted, queued for the program.
    if (at_typed >= 0 && fds[at_typed].revents != 0) {
      ssize_t got = read(typed, buf, sizeof buf);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
        // nothing yet
      } else if (got <= 0) {
        decoder.finish(pending);
        typed = -1;
      } else {
        decoder.feed(std::string_view(buf, static_cast<std::size_t>(got)), pending);
      }
    }
    if (at_in >= 0 && fds[at_in].revents != 0) {
      ssize_t put = write(in.write_end, pending.data(), pending.size());
      if (put > 0) {
        pending.erase(0, static_cast<std::size_t>(put));
      } else if (put < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
        pending.clear();  // the program no longer reads: drop the rest
        typed = -1;
        close_fd(in.write_end);
      }
    }
    // The end of input is passed on once everything typed before it has gone.
    if (typed < 0 && pending.empty()) close_fd(in.write_end);
  }
  close_fd(in.write_end);

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  g_child = 0;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : 2;
  if (output_lost && code == 0) {
    // The program had finished before its output was seen to be lost.
    say("Runtime error: cannot write to standard output\n");
    return 2;
  }
  return code;
}
