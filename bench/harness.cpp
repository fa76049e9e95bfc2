// Times whole sessions: each program is started by posix_spawn with its
// session file as standard input and /dev/null as output and error, many
// times, the runs of all the pairs interleaved, and its wall time, peak
// resident memory and exit status are recorded.
//
//   harness RUNS PROGRAM SESSION [PROGRAM SESSION]...
//
// Prints, per pair, the median and minimum wall time in milliseconds, the
// peak resident set in KiB and the exit status.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

struct Sample {
  double ms;
  long rss_kib;
  int status;
};

Sample run_once(const char* program, const char* session) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, session, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(program), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "%s could not be started\n", program);
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) >= 126) {
    std::fprintf(stderr, "%s did not run on %s\n", program, session);
    std::exit(1);
  }
  return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss, WEXITSTATUS(status)};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || (argc - 2) % 2 != 0) {
    std::fprintf(stderr, "usage: %s RUNS PROGRAM SESSION [PROGRAM SESSION]...\n", argv[0]);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const int pairs = (argc - 2) / 2;
  auto program = [&](int k) { return argv[2 + 2 * k]; };
  auto session = [&](int k) { return argv[3 + 2 * k]; };
  std::vector<std::vector<Sample>> samples(static_cast<std::size_t>(pairs));
  for (int k = 0; k < pairs; ++k)
    for (int w = 0; w < 3; ++w) run_once(program(k), session(k));  // warm the caches
  for (int r = 0; r < runs; ++r)
    for (int k = 0; k < pairs; ++k) samples[static_cast<std::size_t>(k)].push_back(run_once(program(k), session(k)));
  for (int k = 0; k < pairs; ++k) {
    auto& s = samples[static_cast<std::size_t>(k)];
    std::sort(s.begin(), s.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    long rss = 0;
    for (const Sample& x : s) rss = std::max(rss, x.rss_kib);
    std::printf("%.3f %.3f %ld %d\n", s[s.size() / 2].ms, s.front().ms, rss, s.front().status);
  }
  return 0;
}
