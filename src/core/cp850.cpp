#include "core/cp850.hpp"

#include <cstdint>
#include <unordered_map>

namespace amostra {
namespace {

// Unicode code points of bytes 0x80..0xFF in code page 850.
constexpr std::uint16_t kUpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0,
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4,
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE,
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4,
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

char byte_for(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  for (int i = 0; i < 128; ++i)
    if (kUpperHalf[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

void Utf8ToCp850::feed(std::string_view s, std::string& out) {
  for (char ch : s) {
    auto b = static_cast<unsigned char>(ch);
    if (missing_ > 0) {
      if (b >= low_ && b <= high_) {
        code_ = (code_ << 6) | (b & 0x3Fu);
        low_ = 0x80;
        high_ = 0xBF;
        if (--missing_ == 0) out.push_back(byte_for(code_));
        continue;
      }
      out.push_back('?');  // cut short: this byte starts afresh
      missing_ = 0;
      low_ = 0x80;
      high_ = 0xBF;
    }
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
    } else if (b >= 0xC2 && b <= 0xDF) {
      code_ = b & 0x1Fu;
      missing_ = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      code_ = b & 0x0Fu;
      missing_ = 2;
      if (b == 0xE0) low_ = 0xA0;   // no overlong forms
      if (b == 0xED) high_ = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      code_ = b & 0x07u;
      missing_ = 3;
      if (b == 0xF0) low_ = 0x90;
      if (b == 0xF4) high_ = 0x8F;  // nothing beyond U+10FFFF
    } else {
      out.push_back('?');  // a stray continuation byte, C0, C1 or F5..FF
    }
  }
}

void Utf8ToCp850::finish(std::string& out) {
  if (missing_ > 0) out.push_back('?');
  missing_ = 0;
  low_ = 0x80;
  high_ = 0xBF;
}

std::string to_cp850(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  Utf8ToCp850 decoder;
  decoder.feed(s, out);
  decoder.finish(out);
  return out;
}

void append_utf8(std::string& out, std::string_view cp850) {
  for (char ch : cp850) {
    auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out.push_back(ch);
      continue;
    }
    char32_t cp = kUpperHalf[b - 0x80];
    if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string_view cp850_literal(const char* utf8) {
  static std::unordered_map<const char*, std::string> cache;
  auto it = cache.find(utf8);
  if (it == cache.end()) it = cache.emplace(utf8, to_cp850(utf8)).first;
  return it->second;
}

}  // namespace amostra
