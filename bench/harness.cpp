// Times whole sessions: each program is started with a session file as its
// standard input and /dev/null as its output, many times, interleaved, and
// its wall time and peak resident memory are recorded.
//
//   harness RUNS SESSION PROGRAM...
//
// Prints, per program, the median and minimum wall time in milliseconds and
// the peak resident set in KiB.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Sample {
  double ms;
  long rss_kib;
};

Sample run_once(const char* program, const char* session) {
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(session, O_RDONLY);
    int out = open("/dev/null", O_WRONLY);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) >= 126) {
    std::fprintf(stderr, "%s did not run\n", program);
    std::exit(1);
  }
  return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s RUNS SESSION PROGRAM...\n", argv[0]);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const char* session = argv[2];
  const int programs = argc - 3;
  std::vector<std::vector<Sample>> samples(static_cast<std::size_t>(programs));
  for (int k = 0; k < programs; ++k)
    for (int w = 0; w < 3; ++w) run_once(argv[3 + k], session);  // warm the caches
  for (int r = 0; r < runs; ++r)
    for (int k = 0; k < programs; ++k) samples[static_cast<std::size_t>(k)].push_back(run_once(argv[3 + k], session));
  for (int k = 0; k < programs; ++k) {
    auto& s = samples[static_cast<std::size_t>(k)];
    std::sort(s.begin(), s.end(), [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
    long rss = 0;
    for (const Sample& x : s) rss = std::max(rss, x.rss_kib);
    std::printf("%s %.3f %.3f %ld\n", argv[3 + k], s[s.size() / 2].ms, s.front().ms, rss);
  }
  return 0;
}
