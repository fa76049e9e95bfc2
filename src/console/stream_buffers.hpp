// The stream buffers that bind the program to a host's standard streams: the
// native program's file descriptors, or the browser page and Node.js.  Each
// entry point supplies only its raw primitives; the buffering and the rule
// that a prompt is shown before the program waits are the same for all.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>

namespace amostra {

// An output buffer of 8192 bytes.  `Sink` writes n bytes and says whether they
// all went out: a failed write makes the stream bad, which the program turns
// into status 2.
template <class Sink>
class SinkBuffer : public std::streambuf {
 public:
  explicit SinkBuffer(Sink sink) : sink_(sink) { setp(buf_, buf_ + sizeof buf_); }
  ~SinkBuffer() override { sync(); }

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
    const std::size_t n = static_cast<std::size_t>(pptr() - pbase());
    setp(buf_, buf_ + sizeof buf_);  // the bytes stay in place for the sink
    return n == 0 || sink_(buf_, n);
  }

  Sink sink_;
  char buf_[8192];
};

// An input buffer of 64 KiB.  `Source::ready` hands over bytes the host
// already holds without waiting (0 when there are none); `Source::wait`
// waits for more (0 or less at the end of input).  Before waiting, whatever
// the program has written goes out, so the question is on the screen.
template <class Source>
class SourceBuffer : public std::streambuf {
 public:
  SourceBuffer(Source source, std::ostream& flush_first) : source_(source), out_(flush_first) {
    setg(buf_, buf_, buf_);
  }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    long n = source_.ready(buf_, sizeof buf_);
    if (n <= 0) {
      out_.flush();  // the program is about to wait: show what it has written
      n = source_.wait(buf_, sizeof buf_);
    }
    if (n <= 0) return traits_type::eof();
    setg(buf_, buf_, buf_ + n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  Source source_;
  std::ostream& out_;
  char buf_[65536];
};

}  // namespace amostra
