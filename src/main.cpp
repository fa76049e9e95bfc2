// Binds the program to the process's standard streams.
//
// Standard output is buffered (8192 bytes) and written in binary, unchanged.
// Before the program waits for typed input, whatever it has written goes out,
// so a prompt is always visible when the user is asked; input that is already
// available (a file or a pipe) is read without flushing, record by record.
//
// Everything that differs between systems is in the block of raw stream
// primitives just below; the rest of the program sees only iostreams.
#include <cerrno>
#include <cstddef>
#include <iostream>
#include <streambuf>

#include "console/stream_buffers.hpp"
#include "menu/program.hpp"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>

#include <csignal>
#endif

namespace {

// ---- Raw stream primitives, one set per system ------------------------------

constexpr int kStdin = 0;
constexpr int kStdout = 1;
constexpr int kStderr = 2;

#if defined(_WIN32)

// The C runtime opens the standard streams in text mode, which would turn
// every CR LF record into CR CR LF and stop reading at a 0x1A byte.  All three
// are switched to binary: bytes pass unchanged, and the reader itself drops
// the CR of a typed CR LF.  A write to a closed pipe fails with an error (there
// is no broken-pipe signal), which the program reports with status 2.
void prepare_streams() {
  _setmode(kStdin, _O_BINARY);
  _setmode(kStdout, _O_BINARY);
  _setmode(kStderr, _O_BINARY);
}

long raw_write(int fd, const char* p, std::size_t n) {
  const unsigned chunk = n > 0x40000000u ? 0x40000000u : static_cast<unsigned>(n);
  return _write(fd, p, chunk);
}

// At a console, Ctrl-Z typed at the start of a line ends the input, as it does
// for every console program; from a file or a pipe the byte is data.  A
// console is read a line at a time anyway, in pieces older consoles accept.
long raw_read(int fd, char* p, std::size_t n) {
  const bool console = _isatty(fd) != 0;
  if (console && n > 4096) n = 4096;
  const int got = _read(fd, p, static_cast<unsigned>(n));
  if (got > 0 && console && p[0] == '\x1a') return 0;
  return got;
}

#else

// A closed output must end the run with status 2 like any write error, not
// silently by the broken-pipe signal.
void prepare_streams() { std::signal(SIGPIPE, SIG_IGN); }

long raw_write(int fd, const char* p, std::size_t n) { return ::write(fd, p, n); }

long raw_read(int fd, char* p, std::size_t n) { return ::read(fd, p, n); }

#endif

// ---- The primitives as a sink and a source ----------------------------------

struct FdSink {
  int fd;
  bool operator()(const char* p, std::size_t n) const {
    while (n > 0) {
      long w = raw_write(fd, p, n);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      p += w;
      n -= static_cast<std::size_t>(w);
    }
    return true;
  }
};

struct FdSource {
  int fd;
  long ready(char*, std::size_t) const { return 0; }
  long wait(char* p, std::size_t n) const {
    for (;;) {
      long got = raw_read(fd, p, n);
      if (got < 0 && errno == EINTR) continue;
      return got;
    }
  }
};

}  // namespace

int main() {
  prepare_streams();
  amostra::SinkBuffer<FdSink> out_buf(FdSink{kStdout});
  std::ostream out(&out_buf);
  amostra::SourceBuffer<FdSource> in_buf(FdSource{kStdin}, out);
  std::istream in(&in_buf);
  amostra::SinkBuffer<FdSink> err_buf(FdSink{kStderr});
  std::ostream err(&err_buf);
  return amostra::run(in, out, err);
}
