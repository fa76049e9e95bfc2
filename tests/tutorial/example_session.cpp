#include "tutorial/example_session.hpp"

#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "core/cp850.hpp"
#include "menu/program.hpp"

namespace amostra::test {

namespace {

// Upper half of code page 850, as Unicode code points.
constexpr char32_t kUpper[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

void put_utf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Collects everything written, so that its length is known at any moment.
class Sink : public std::streambuf {
 public:
  std::string bytes;

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) bytes += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    bytes.append(s, static_cast<std::size_t>(n));
    return n;
  }
};

// Hands out one typed line per request and notes how much output had been
// written when the program asked for it.
class Feed : public std::streambuf {
 public:
  Feed(std::vector<std::string> lines, const Sink& sink) : lines_(std::move(lines)), sink_(sink) {}

  struct Point {
    std::size_t offset;  // output length when the line was asked for
    std::size_t line;    // index of the typed line
  };
  std::vector<Point> points;
  std::size_t handed() const { return next_; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (next_ == lines_.size()) return traits_type::eof();
    points.push_back({sink_.bytes.size(), next_});
    current_ = to_cp850(lines_[next_++]) + "\n";
    setg(current_.data(), current_.data(), current_.data() + current_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<std::string> lines_;
  const Sink& sink_;
  std::size_t next_ = 0;
  std::string current_;
};

// Output bytes as screen text: code page 850 decoded, CR LF as a line end.
std::string screen_text(std::string_view bytes) {
  std::string s;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    put_utf8(s, b < 0x80 ? b : kUpper[b - 0x80]);
  }
  return s;
}

}  // namespace

std::string from_cp850(std::string_view bytes) {
  std::string s;
  for (unsigned char b : bytes) put_utf8(s, b < 0x80 ? b : kUpper[b - 0x80]);
  return s;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

ExampleRun run_example(const std::string& typed) {
  std::vector<std::string> lines = split_lines(typed);
  Sink sink;
  Feed feed(lines, sink);
  std::istream in(&feed);
  std::ostream out(&sink);
  std::ostringstream err;
  ExampleRun r;
  r.status = run(in, out, err);
  r.err = err.str();
  r.unread = lines.size() - feed.handed();

  std::size_t from = 0;
  for (const Feed::Point& p : feed.points) {
    r.screen += screen_text(std::string_view(sink.bytes).substr(from, p.offset - from));
    r.screen += lines[p.line] + "\n";
    from = p.offset;
  }
  r.screen += screen_text(std::string_view(sink.bytes).substr(from));
  return r;
}

}  // namespace amostra::test
