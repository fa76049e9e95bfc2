// The program's texts leave as code page 850 bytes.
#include <gtest/gtest.h>

#include "core/cp850.hpp"

namespace amostra {
namespace {

TEST(CodePage850, AccentedLettersAndBoxDrawing) {
  EXPECT_EQ(to_cp850("é ç ã õ ó í á Ç Ã É"), "\x82 \x87 \xC6 \xE4 \xA2 \xA1 \xA0 \x80 \xC7 \x90");
  EXPECT_EQ(to_cp850("EST┴"), "EST\xC1");
  EXPECT_EQ(to_cp850("plain ASCII *"), "plain ASCII *");
  EXPECT_EQ(to_cp850("€"), "?");  // not in the code page
}

TEST(CodePage850, LiteralsAreConvertedOnce) {
  static const char* const kText = "padrão";
  std::string_view first = cp850_literal(kText);
  EXPECT_EQ(first, "padr\xC6o");
  EXPECT_EQ(first.data(), cp850_literal(kText).data());
}

}  // namespace
}  // namespace amostra

namespace amostra {
namespace {

std::string utf8_of(std::string_view cp850) {
  std::string s;
  append_utf8(s, cp850);
  return s;
}

TEST(CodePage850, ByteToUtf8) {
  EXPECT_EQ(utf8_of("APLICA\x80\xC7O"), "APLICAÇÃO");
  EXPECT_EQ(utf8_of("crit\x82rio \x87 \xC6 \xE4 \xA2 \xA1 \xA0 \x90"), "critério ç ã õ ó í á É");
  EXPECT_EQ(utf8_of("\xC1\xCD\xB0\xD5\xFE\xFF"), "┴═░ı■\u00A0");  // the three-byte and the last forms
  EXPECT_EQ(utf8_of(std::string("\r\n\0*", 4)), std::string("\r\n\0*", 4));
}

TEST(CodePage850, EveryByteSurvivesTheRoundTrip) {
  for (int b = 0; b < 256; ++b) {
    std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(to_cp850(utf8_of(byte)), byte) << "byte " << b;
  }
}

// Typed text arrives in pieces; a character cut between two reads must come
// out whole, and a broken one as a single '?' without eating what follows.
std::string fed(std::initializer_list<std::string_view> pieces) {
  Utf8ToCp850 d;
  std::string out;
  for (auto p : pieces) d.feed(p, out);
  d.finish(out);
  return out;
}

TEST(CodePage850, Utf8ArrivingInPieces) {
  EXPECT_EQ(fed({"Apis-a\xC3", "\xA7u\n"}), "Apis-a\x87u\n");
  EXPECT_EQ(fed({"\xE2\x94", "\xB4", "x"}), "\xC1x");
  EXPECT_EQ(fed({"ab\xE2\x82"}), "ab?");  // input ends inside a character
  EXPECT_EQ(fed({"n\xC3", "\r\n"}), "n?\r\n");  // the line end survives
}

TEST(CodePage850, IllFormedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(to_cp850("\x80x"), "?x");                   // stray continuation byte
  EXPECT_EQ(to_cp850("\xC3("), "?(");                   // cut short
  EXPECT_EQ(to_cp850("\xC0\xAF"), "??");                // overlong slash
  EXPECT_EQ(to_cp850("\xE0\x80\xAF"), "???");           // overlong, three bytes
  EXPECT_EQ(to_cp850("\xED\xA0\x80"), "???");           // surrogate
  EXPECT_EQ(to_cp850("\xF4\x90\x80\x80"), "????");      // beyond U+10FFFF
  EXPECT_EQ(to_cp850("\xFF\xFE"), "??");
  EXPECT_EQ(to_cp850("\xF0\x9F\x98\x80!"), "?!");       // well formed, not in the code page
  EXPECT_EQ(to_cp850("\xC2\x85"), "?");                 // C1 control: not in the code page
}

}  // namespace
}  // namespace amostra
