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

// ---- Buffers over the primitives -------------------------------------------

class FdOut : public std::streambuf {
 public:
  explicit FdOut(int fd) : fd_(fd) { setp(buf_, buf_ + sizeof buf_); }
  ~FdOut() override { sync(); }

  int sync() override { return drain() ? 0 : -1; }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

 private:
  bool drain() {
    const char* p = pbase();
    while (p < pptr()) {
      long n = raw_write(fd_, p, static_cast<std::size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        setp(buf_, buf_ + sizeof buf_);
        return false;
      }
      p += n;
    }
    setp(buf_, buf_ + sizeof buf_);
    return true;
  }

  int fd_;
  char buf_[8192];
};

class FdIn : public std::streambuf {
 public:
  FdIn(int fd, std::ostream& flush_first) : fd_(fd), out_(flush_first) { setg(buf_, buf_, buf_); }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    out_.flush();  // the program is about to wait: show what it has written
    for (;;) {
      long n = raw_read(fd_, buf_, sizeof buf_);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return traits_type::eof();
      setg(buf_, buf_, buf_ + n);
      return traits_type::to_int_type(*gptr());
    }
  }

 private:
  int fd_;
  std::ostream& out_;
  char buf_[65536];
};

}  // namespace

int main() {
  prepare_streams();
  FdOut out_buf(kStdout);
  std::ostream out(&out_buf);
  FdIn in_buf(kStdin, out);
  std::istream in(&in_buf);
  FdOut err_buf(kStderr);
  std::ostream err(&err_buf);
  return amostra::run(in, out, err);
}
