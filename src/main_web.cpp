// Binds the program to its host when it is built as WebAssembly.
//
// The same build runs in two hosts:
// - under Node.js, standard input and output are the process's own streams,
//   read and written as raw bytes (no text decoding anywhere);
// - in a browser page, the page supplies typed lines and receives the output
//   bytes through the functions it passes to the module (see web/app.js).
// The program waits for a typed line without blocking the page: the read
// suspends the WebAssembly stack (Asyncify) until the page's promise resolves.
//
// As on a console, whatever the program has written goes out before it waits.
#include <emscripten.h>

#include <cstdlib>
#include <iostream>
#include <streambuf>

#include "menu/program.hpp"

// Writes `len` bytes to stream 1 (output) or 2 (error report).  Returns false
// when the host could not take them.
EM_JS(int, amostra_host_write, (int fd, const unsigned char* data, int len), {
  var bytes = HEAPU8.slice(data, data + len);
  if (Module['amostraWrite']) return Module['amostraWrite'](fd, bytes) === false ? 0 : 1;
  var fs = require('fs');
  for (var off = 0; off < len;) {
    try {
      off += fs.writeSync(fd, bytes, off, len - off);
    } catch (e) {
      if (e.code === 'EAGAIN') continue;
      return 0;
    }
  }
  return 1;
});

// Reads up to `max` bytes of input into `data`; returns the count, 0 at the
// end of input.  In a page each call delivers one typed line and its line end.
EM_ASYNC_JS(int, amostra_host_read, (unsigned char* data, int max), {
  var bytes;
  if (Module['amostraReadLine']) {
    bytes = await Module['amostraReadLine']();
    if (bytes === null) return 0;
  } else {
    var fs = require('fs');
    var buf = new Uint8Array(max);
    for (;;) {
      try {
        var n = fs.readSync(0, buf, 0, max, null);
        bytes = buf.subarray(0, n);
        break;
      } catch (e) {
        if (e.code === 'EAGAIN') {
          await new Promise(function(resolve) { setTimeout(resolve, 20); });
          continue;
        }
        if (e.code === 'EOF') return 0;
        throw e;
      }
    }
  }
  // A line longer than the buffer is handed over in pieces.
  if (bytes.length > max) {
    Module['amostraPending'] = bytes.subarray(max);
    bytes = bytes.subarray(0, max);
  }
  HEAPU8.set(bytes, data);
  return bytes.length;
});

// The rest of a line that did not fit the buffer at the last read.
EM_JS(int, amostra_host_pending, (unsigned char* data, int max), {
  var rest = Module['amostraPending'];
  if (!rest) return 0;
  var n = Math.min(rest.length, max);
  HEAPU8.set(rest.subarray(0, n), data);
  Module['amostraPending'] = n < rest.length ? rest.subarray(n) : null;
  return n;
});

namespace {

class HostOut : public std::streambuf {
 public:
  explicit HostOut(int fd) : fd_(fd) { setp(buf_, buf_ + sizeof buf_); }
  ~HostOut() override { sync(); }

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
    const int n = static_cast<int>(pptr() - pbase());
    setp(buf_, buf_ + sizeof buf_);
    return n == 0 || amostra_host_write(fd_, reinterpret_cast<unsigned char*>(buf_), n) != 0;
  }

  int fd_;
  char buf_[8192];
};

class HostIn : public std::streambuf {
 public:
  explicit HostIn(std::ostream& flush_first) : out_(flush_first) { setg(buf_, buf_, buf_); }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    auto* data = reinterpret_cast<unsigned char*>(buf_);
    int n = amostra_host_pending(data, sizeof buf_);
    if (n == 0) {
      out_.flush();  // the program is about to wait: show what it has written
      n = amostra_host_read(data, sizeof buf_);
    }
    if (n <= 0) return traits_type::eof();
    setg(buf_, buf_, buf_ + n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::ostream& out_;
  char buf_[65536];
};

}  // namespace

int main() {
  int status;
  {
    HostOut out_buf(1);
    std::ostream out(&out_buf);
    HostIn in_buf(out);
    std::istream in(&in_buf);
    HostOut err_buf(2);
    std::ostream err(&err_buf);
    status = amostra::run(in, out, err);
  }
  // The status reaches the host (Node's exit status, the page's onExit) even
  // though main has been suspended and resumed in between.
  std::exit(status);
}
