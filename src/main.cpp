// Binds the program to the process's standard streams.
//
// Standard output is buffered (8192 bytes) and written in binary, unchanged.
// Before the program waits for typed input, whatever it has written goes out,
// so a prompt is always visible when the user is asked; input that is already
// available (a file or a pipe) is read without flushing, record by record.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>
#include <streambuf>

#include "menu/program.hpp"

namespace {

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
      ssize_t n = ::write(fd_, p, static_cast<size_t>(pptr() - p));
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
      ssize_t n = ::read(fd_, buf_, sizeof buf_);
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
  std::signal(SIGPIPE, SIG_IGN);  // a closed output is reported as a write error
  FdOut out_buf(STDOUT_FILENO);
  std::ostream out(&out_buf);
  FdIn in_buf(STDIN_FILENO, out);
  std::istream in(&in_buf);
  FdOut err_buf(STDERR_FILENO);
  std::ostream err(&err_buf);
  return amostra::run(in, out, err);
}
