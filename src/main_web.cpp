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

#include "console/stream_buffers.hpp"
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

struct HostSink {
  int fd;
  bool operator()(const char* p, std::size_t n) const {
    return amostra_host_write(fd, reinterpret_cast<const unsigned char*>(p), static_cast<int>(n)) != 0;
  }
};

// The rest of an over-long line is handed over without waiting; otherwise the
// host waits for the next line.
struct HostSource {
  long ready(char* p, std::size_t n) const {
    return amostra_host_pending(reinterpret_cast<unsigned char*>(p), static_cast<int>(n));
  }
  long wait(char* p, std::size_t n) const {
    return amostra_host_read(reinterpret_cast<unsigned char*>(p), static_cast<int>(n));
  }
};

}  // namespace

int main() {
  int status;
  {
    amostra::SinkBuffer<HostSink> out_buf(HostSink{1});
    std::ostream out(&out_buf);
    amostra::SourceBuffer<HostSource> in_buf(HostSource{}, out);
    std::istream in(&in_buf);
    amostra::SinkBuffer<HostSink> err_buf(HostSink{2});
    std::ostream err(&err_buf);
    status = amostra::run(in, out, err);
  }
  // The status reaches the host (Node's exit status, the page's onExit) even
  // though main has been suspended and resumed in between.
  std::exit(status);
}
