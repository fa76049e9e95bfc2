// Typed input: list-directed reads, the "(I3)" read and their fatal errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "console/reader.hpp"

namespace amostra {
namespace {

constexpr ReadSite kSite{"here.cpp", 7};

// A reader over fixed input text.
struct Typed {
  explicit Typed(std::string text) : buf(std::move(text)), reader(buf) {}
  std::stringbuf buf;
  Reader reader;

  int integer(int start = 0) {
    reader.read(start, kSite);
    return start;
  }
  float real(float start = 0.0f) {
    Real r = Real::bits(start);
    reader.read(r, kSite);
    return r.value();
  }
  std::pair<float, float> two(float a0 = -1.0f, float b0 = -1.0f) {
    Real a = Real::bits(a0), b = Real::bits(b0);
    reader.read(a, b, kSite);
    return {a.value(), b.value()};
  }
  std::string text(std::size_t n) {
    Text t(n);
    reader.read(t, kSite);
    return std::string(t.bytes());
  }
  int i3() {
    int v = -99;
    reader.read_i3(v, kSite);
    return v;
  }
};

// The message of the error that a read raises.
template <class F>
std::string error_of(F read) {
  try {
    read();
  } catch (const InputError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ReadInteger, SignsBlanksAndLeadingZeros) {
  for (const char* typed : {"17\n", "  17  \n", "+17\n", "017\n", "\t17\t\n", "17\r\n", "17"})
    EXPECT_EQ(Typed(typed).integer(), 17) << typed;
  EXPECT_EQ(Typed("-3\n").integer(), -3);
  EXPECT_EQ(Typed("2147483647\n").integer(), 2147483647);
  EXPECT_EQ(Typed("-2147483647\n").integer(), -2147483647);
  EXPECT_EQ(Typed("0000000000000000000000000000000000000017\n").integer(), 17);
}

TEST(ReadInteger, EachReadStartsOnAFreshLineAndDropsTheRest) {
  Typed t("3 9\n\n\n4,8\n5/6\n");
  EXPECT_EQ(t.integer(), 3);  // the 9 is lost
  EXPECT_EQ(t.integer(), 4);  // empty lines are skipped
  EXPECT_EQ(t.integer(), 5);
}

TEST(ReadInteger, NullValuesAndSlashKeepTheVariable) {
  Typed t(",\n 7\n/\n , 8\n");
  EXPECT_EQ(t.integer(42), 42);  // a lone comma
  EXPECT_EQ(t.integer(), 7);     // the read after it starts on the next line
  EXPECT_EQ(t.integer(42), 42);  // a slash
  EXPECT_EQ(t.integer(42), 42);  // a comma first, blanks around it
}

TEST(ReadInteger, BadValuesStopWithTheirMessages) {
  for (const char* typed : {"1.0\n", "abc\n", "1e3\n", "+\n", "-\n", "12a\n", "1\r2\n", "'5'\n", "+3*5\n"})
    EXPECT_EQ(error_of([&] { Typed(typed).integer(); }), "Bad integer for item 1 in list input") << typed;
  for (const char* typed : {"2147483648\n", "-2147483648\n", "99999999999999999999999\n"})
    EXPECT_EQ(error_of([&] { Typed(typed).integer(); }), "Integer overflow while reading item 1") << typed;
  EXPECT_EQ(error_of([] { Typed("").integer(); }), "End of file");
  EXPECT_EQ(error_of([] { Typed("\n  \n\n").integer(); }), "End of file");
}

TEST(ReadInteger, EndOfInputAfterALastLineWithoutLineEndReplaysNothing) {
  // The last line has no LF, so the reader meets the end of input right after
  // the value; whatever it had buffered before must not be read again.
  for (const char* typed : {"17\n\n12\n6\r\n\n4\n1", "17\n12\n1", "17\n6"}) {
    Typed t(typed);
    EXPECT_EQ(t.integer(), 17) << typed;
    for (;;) {
      std::string e = error_of([&] { t.integer(); });
      if (e != "(no error)") {
        EXPECT_EQ(e, "End of file") << typed;
        break;
      }
    }
  }
  // Every value is read once, in order, and then the input is at its end.
  Typed t("17\n\n12\n6\r\n\n4\n1");
  for (int want : {17, 12, 6, 4, 1}) EXPECT_EQ(t.integer(), want);
  EXPECT_EQ(error_of([&] { t.integer(); }), "End of file");
  EXPECT_EQ(error_of([&] { t.text(20); }), "End of file");
}

TEST(ReadInteger, RepeatForms) {
  EXPECT_EQ(Typed("3*7\n").integer(), 7);
  EXPECT_EQ(Typed("3*\n").integer(42), 42);
  EXPECT_EQ(Typed("200000000*1\n").integer(), 1);
  EXPECT_EQ(error_of([] { Typed("0*5\n").integer(); }), "Zero repeat count in item 1 of list input");
  EXPECT_EQ(error_of([] { Typed("200000001*5\n").integer(); }), "Repeat count overflow in item 1 of list input");
  EXPECT_EQ(error_of([] { Typed("2*x\n").integer(); }), "Bad integer for item 1 in list input");
  EXPECT_EQ(error_of([] { Typed("2*3*4\n").integer(); }), "Bad integer for item 1 in list input");
}

TEST(ReadReal, Syntax) {
  struct Case {
    const char* typed;
    float want;
  } cases[] = {
      {"2,5\n", 2.0f},    {"2.5\n", 2.5f},     {"25e-1\n", 2.5f}, {"1.5+1\n", 15.0f},   {"1.5+3\n", 1500.0f},
      {".5\n", 0.5f},     {"5.\n", 5.0f},      {"+5\n", 5.0f},    {"-.5E+1\n", -5.0f},  {"1.5d2\n", 150.0f},
      {"1.5D-1\n", 0.15f}, {"4.1;3.9\n", 4.1f}, {"0.1\n", 0.1f},  {"1e-50\n", 0.0f},    {"007.50\n", 7.5f},
      {"16777217\n", 16777216.0f},  // a tie goes to the even neighbour
      {"16777219\n", 16777220.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(Typed(c.typed).real(), c.want) << c.typed;
  EXPECT_TRUE(std::signbit(Typed("-0\n").real()));
}

TEST(ReadReal, WordsAndOutOfRange) {
  EXPECT_EQ(Typed("inf\n").real(), INFINITY);
  EXPECT_EQ(Typed("-Infinity\n").real(), -INFINITY);
  EXPECT_EQ(Typed("+iNf\n").real(), INFINITY);
  EXPECT_TRUE(std::isnan(Typed("NaN\n").real()));
  EXPECT_TRUE(std::isnan(Typed("-nan\n").real()));
  EXPECT_EQ(Typed("1e39\n").real(), INFINITY);
  EXPECT_EQ(Typed("-3.5e38\n").real(), -INFINITY);
  for (const char* typed : {"abc\n", "1e\n", "1e+\n", "1.2.3\n", "--1\n", ".\n", "1+\n", "infinit\n", "nana\n",
                            "1.5*3\n", "e5\n", "5i\n", "1e5.0\n"})
    EXPECT_EQ(error_of([&] { Typed(typed).real(); }), "Bad real number in item 1 of list input") << typed;
}

TEST(ReadReal, VeryLongNumbersConvertCorrectly) {
  std::string ones = "1" + std::string(5000, '0') + "e-5000\n";
  EXPECT_EQ(Typed(ones).real(), 1.0f);
  std::string zeros = "0." + std::string(100000, '0') + "25e100000\n";
  EXPECT_EQ(Typed(zeros).real(), 0.25f);
  // Just above a halfway point far beyond the digits kept: rounds up.
  std::string above = "1.6777217" + std::string(500, '0') + "1e7\n";
  EXPECT_EQ(Typed(above).real(), 16777218.0f);
  std::string exactly = "1.6777217" + std::string(500, '0') + "e7\n";
  EXPECT_EQ(Typed(exactly).real(), 16777216.0f);
  EXPECT_EQ(Typed("1e99999999999999999999\n").real(), INFINITY);
  EXPECT_EQ(Typed("1e-99999999999999999999\n").real(), 0.0f);
}

TEST(ReadTwoReals, SeparatorsLinesSlashAndTrailingComma) {
  using P = std::pair<float, float>;
  EXPECT_EQ(Typed("4.1 3.9\n").two(), P(4.1f, 3.9f));
  EXPECT_EQ(Typed("4.1,3.9\n").two(), P(4.1f, 3.9f));
  EXPECT_EQ(Typed("4.1 , 3.9\n").two(), P(4.1f, 3.9f));
  EXPECT_EQ(Typed("4.1\n3.9\n").two(), P(4.1f, 3.9f));
  EXPECT_EQ(Typed("4.1\n\n  3.9 7\n").two(), P(4.1f, 3.9f));
  EXPECT_EQ(Typed("4.1/\n3.9\n").two(), P(4.1f, -1.0f));
  EXPECT_EQ(Typed(",3.9\n").two(), P(-1.0f, 3.9f));
  EXPECT_EQ(Typed(",,3.9\n").two(), P(-1.0f, -1.0f));
  EXPECT_EQ(Typed("4.1,,3.9\n").two(), P(4.1f, -1.0f));
  EXPECT_EQ(Typed("2*4.5\n").two(), P(4.5f, 4.5f));
  EXPECT_EQ(Typed("2*\n").two(), P(-1.0f, -1.0f));
  EXPECT_EQ(Typed("1*2 3\n").two(), P(2.0f, 3.0f));
  // A comma after the line end still separates the two values.
  EXPECT_EQ(Typed("4.1\n,3.9\n").two(), P(4.1f, 3.9f));
  // A line ending right after a comma: the second item is null and the next
  // line is left for the next read.
  Typed t("4.1,\n3.9\n");
  EXPECT_EQ(t.two(), P(4.1f, -1.0f));
  EXPECT_EQ(t.real(), 3.9f);
  // The same at the very end of the input.
  EXPECT_EQ(Typed("4.1,").two(), P(4.1f, -1.0f));
}

TEST(ReadTwoReals, ErrorsNameTheItem) {
  EXPECT_EQ(error_of([] { Typed("1.0 x\n").two(); }), "Bad real number in item 2 of list input");
  EXPECT_EQ(error_of([] { Typed("4.1\n").two(); }), "End of file");
  EXPECT_EQ(error_of([] { Typed("1 0*3\n").two(); }), "Zero repeat count in item 2 of list input");
}

// Input that ends without a line end, inside a read: the next read meets the
// end of input, not bytes left over from earlier lines.
TEST(ReadTwoReals, UnterminatedLastLineThenEndOfFile) {
  EXPECT_EQ(error_of([] {
              Typed t("14\n1\n2\n1 2\n3\n4");
              t.integer();
              t.integer();
              t.integer();
              t.two();
              t.two();
              t.integer();
            }),
            "End of file");
}

TEST(ReadText, UndelimitedDelimitedAndRepeated) {
  EXPECT_EQ(Typed("Apis-melifera\n").text(20), "Apis-melifera       ");
  EXPECT_EQ(Typed("Apis melifera\n").text(20), "Apis                ");
  EXPECT_EQ(Typed("abcdefghijklmnopqrstuvwxy\n").text(20), "abcdefghijklmnopqrst");
  EXPECT_EQ(Typed("'amarelo claro'\n").text(20), "amarelo claro       ");
  EXPECT_EQ(Typed("\"a, b / c\"\n").text(10), "a, b / c  ");
  EXPECT_EQ(Typed("'it''s'\n").text(10), "it's      ");
  EXPECT_EQ(Typed("'ab\ncd'\n").text(10), "abcd      ");
  EXPECT_EQ(Typed("2*azul\n").text(10), "azul      ");
  EXPECT_EQ(Typed("12ab*3\n").text(10), "12ab*3    ");
  EXPECT_EQ(Typed("\xA2rg\xC6o\n").text(5), "\xA2rg\xC6o");  // code page 850 bytes pass unchanged
  EXPECT_EQ(error_of([] { Typed("'ab'c\n").text(10); }), "Invalid string input in item 1");
  EXPECT_EQ(error_of([] { Typed("'ab\n").text(10); }), "End of file");
  Typed t(",\nverde\n");
  EXPECT_EQ(t.text(5), "     ");
  EXPECT_EQ(t.text(5), "verde");
}

TEST(ReadI3, FixedColumns) {
  struct Case {
    const char* typed;
    int want;
  } cases[] = {{"5\n", 5},  {"  5\n", 5},   {"1234\n", 123}, {"\n", 0},   {"1,5\n", 1},  {"1 2\n", 12}, {" 1 2\n", 1},
               {"12 x\n", 12}, {"-5\n", -5}, {"+7\n", 7},    {"- 5\n", -5}, {"   \n", 0}, {"5", 5}};
  for (const Case& c : cases) EXPECT_EQ(Typed(c.typed).i3(), c.want) << c.typed;
  for (const char* typed : {"a\n", "-\n", "1-2\n", "\t5\n", "1.5\n"})
    EXPECT_EQ(error_of([&] { Typed(typed).i3(); }), "Bad value during integer read") << typed;
  EXPECT_EQ(error_of([] { Typed("").i3(); }), "End of file");
  Typed t("\n7\n");  // an empty line is a value: the read does not wait
  EXPECT_EQ(t.i3(), 0);
  EXPECT_EQ(t.i3(), 7);
}

TEST(ReadErrors, CarryTheReadStatement) {
  try {
    Typed("x\n").integer();
    FAIL();
  } catch (const InputError& e) {
    EXPECT_STREQ(e.site().file, "here.cpp");
    EXPECT_EQ(e.site().line, 7);
  }
}

}  // namespace
}  // namespace amostra

namespace amostra {
namespace {

// The short-number path of the real conversion must agree with a correctly
// rounded conversion everywhere, halfway points between singles included.
TEST(ReadReal, AgreesWithCorrectRoundingOnRandomAndHalfwayNumbers) {
  std::uint64_t state = 88172645463325252ULL;
  auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  char text[96];
  for (int k = 0; k < 200000; ++k) {
    switch (k % 4) {
      case 0: {  // random digits, point and exponent
        int digits = 1 + static_cast<int>(next() % 19);
        std::uint64_t d = next() % 10000000000000000000ULL;
        std::snprintf(text, sizeof text, "%.*llue%d", digits, static_cast<unsigned long long>(d),
                      static_cast<int>(next() % 61) - 30);
        break;
      }
      case 1: {  // a single's halfway point to its neighbour, to 18 and 19 digits
        float f = std::ldexp(static_cast<float>(next() % (1u << 24)), static_cast<int>(next() % 120) - 80);
        double mid = (static_cast<double>(f) + static_cast<double>(std::nextafter(f, INFINITY))) / 2;
        std::snprintf(text, sizeof text, "%.*e", 17 + static_cast<int>(k % 3), mid);
        break;
      }
      case 2: {  // typical data
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(next() % 6),
                      static_cast<double>(next() % 100000000) / 1000.0);
        break;
      }
      default: {  // a single printed exactly enough to sit right on it
        float f = std::ldexp(static_cast<float>(next() % (1u << 24)), static_cast<int>(next() % 100) - 60);
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
      }
    }
    std::string line = std::string(text) + "\n";
    float want = std::strtof(text, nullptr);
    float got = Typed(line).real();
    ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << text;
  }
}

}  // namespace
}  // namespace amostra
