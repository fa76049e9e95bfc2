// Format texts and record rendering.
#include <gtest/gtest.h>

#include "console/format.hpp"
#include "menu/tables.hpp"

namespace amostra {
namespace {

std::string fmt(const char* format, std::initializer_list<Val> values = {}) {
  Record r;
  render_format(r, parse_format(format), values);
  return std::string(r.view());
}

std::string list(std::initializer_list<Val> values = {}) {
  Record r;
  render_list(r, values);
  return std::string(r.view());
}

const Text kBra = Text::of(1, " ");

TEST(Format, BlanksOutsideQuotesAndMissingCommasAreIgnored) {
  EXPECT_EQ(fmt("( 1x,15x, \"Mediacol (\"   ,I2,  \") = \",   f6.2, 10x)", {3, Real(2.5)}),
            "                Mediacol ( 3) =   2.50\r\n");
  EXPECT_EQ(fmt("(\"*\"10x,12x \"*\")"), "*                      *\r\n");
  EXPECT_EQ(fmt("(1x,\"**\"4x\" GL =\" i2 \" *\")", {7}), " **     GL = 7 *\r\n");
  EXPECT_EQ(fmt("(1X,F7.2x,\"V\")", {Real(1.5)}), "    1.50 V\r\n");
  EXPECT_EQ(fmt("(1x,A1,a1)", {kBra, kBra}), "   \r\n");
}

TEST(Format, QuotedTextKeepsApostrophesSlashesParenthesesAndDoubledQuotes) {
  EXPECT_EQ(fmt("(1x,\"Qual o valor de 't' para \")"), " Qual o valor de 't' para \r\n");
  EXPECT_EQ(fmt("(\"(0 = Nao //// 1 = Sim)\")"), "(0 = Nao //// 1 = Sim)\r\n");
  EXPECT_EQ(fmt("(\"a\"\"b\")"), "a\"b\r\n");
  EXPECT_EQ(fmt("(\"  keep  blanks  \")"), "  keep  blanks  \r\n");
}

TEST(Format, GroupsRepeatTheirItemsAndMayNest) {
  EXPECT_EQ(fmt("(1x, 5(\"*\"))"), " *****\r\n");
  EXPECT_EQ(fmt("((\"*\"))"), "*\r\n");
  EXPECT_EQ(fmt("(2(\"<\",2(\"-\"),\">\"))"), "<--><-->\r\n");
  EXPECT_EQ(fmt("(3(a4, 1x, f9.2,2x))", {Text::of(4, "ab"), Real(1.0), Text::of(4, "cd"), Real(2.0),
                                          Text::of(4, "ef"), Real(3.0)}),
            "ab        1.00  cd        2.00  ef        3.00\r\n");
}

TEST(Format, SlashEndsRecordsAndDropsPendingBlanks) {
  EXPECT_EQ(fmt("(1x,54(\"*\")/1x,\"*\",4x,\"Quantas especies integram o grupo analisado?\", 4x, \"*\"/ "
                "A1,54(\"*\"))",
                {kBra}),
            " " + std::string(54, '*') + "\r\n *    Quantas especies integram o grupo analisado?    *\r\n " +
                std::string(54, '*') + "\r\n");
  EXPECT_EQ(fmt("(1x,54(\"*\")/1x,\"*\",2x,\"Este codigo nao existe!! Digite o codigo correto\",2x,\"*\"/54("
                "\"*\"))"),
            " " + std::string(54, '*') + "\r\n *  Este codigo nao existe!! Digite o codigo correto  *\r\n" +
                std::string(54, '*') + "\r\n");
  EXPECT_EQ(fmt("(\"a\",5x/\"b\")"), "a\r\nb\r\n");
  EXPECT_EQ(fmt("(\"*\" /1X,\"b\",/1x)"), "*\r\n b\r\n\r\n");
}

TEST(Format, StopsAtADataDescriptorWithNoValueLeft) {
  EXPECT_EQ(fmt("(1x, 64(\"*\"), a1)"), " " + std::string(64, '*') + "\r\n");
  EXPECT_EQ(fmt("(1x, 64(\"*\"), a1)", {kBra}), " " + std::string(64, '*') + " \r\n");
  EXPECT_EQ(fmt("(1x,\"T = \",F6.2,\" end\")"), " T = \r\n");
  EXPECT_EQ(fmt("(1x,I2,\" and \",I2,\" end\")", {4}), "  4 and \r\n");
}

TEST(Format, TitleFieldsCutAndFrameTheMenuRow) {
  Tables t;
  EXPECT_EQ(fmt("(1x, \"*\", a45, 2x, i2, 4x,\"*\")", {t.aplic[16], 17}),
            " *Potencial agregativo/discriminativo            17    *\r\n");
  EXPECT_EQ(fmt("(1x,\"**\",\" Voce escolheu \",a36,\"**\")", {t.aplic[6]}),
            " ** Voce escolheu Correlacao/Regressao linear/lineariz**\r\n");
}

TEST(Format, ProgramTextsLeaveAsCodePage850) {
  EXPECT_EQ(fmt("(1x,\"APLICAÇÃO é ç ã õ ó í á\")"),
            " APLICA\x80\xC7O \x82 \x87 \xC6 \xE4 \xA2 \xA1 \xA0\r\n");
}

TEST(Format, CaseInsensitiveDescriptors) {
  EXPECT_EQ(fmt("(1X,I3,1x,i3,F5.1,f5.1)", {1, 2, Real(1.0), Real(2.0)}), "   1   2  1.0  2.0\r\n");
}

TEST(Format, MalformedFormatsAreProgrammingErrors) {
  EXPECT_THROW(parse_format("1x"), std::logic_error);
  EXPECT_THROW(parse_format("(1x,\"open)"), std::logic_error);
  EXPECT_THROW(parse_format("(F6)"), std::logic_error);
  EXPECT_THROW(parse_format("(1x,Q)"), std::logic_error);
  EXPECT_THROW(fmt("(I2)", {Real(1.0)}), std::logic_error);
  EXPECT_THROW(fmt("(I2)", {1, 2}), std::logic_error);
}

TEST(Format, ParsedOncePerLiteral) {
  static const char* const kFormat = "(1x,\"cached\")";
  const auto& first = format_ops(kFormat);
  EXPECT_EQ(&first, &format_ops(kFormat));
}

TEST(ListDirected, SeparatorsBetweenItems) {
  EXPECT_EQ(list(), "\r\n");
  EXPECT_EQ(list({"*******************************************************"}),
            " *******************************************************\r\n");
  EXPECT_EQ(list({"1234567890123456789012345678", 3, "abc"}),
            " 1234567890123456789012345678           3 abc\r\n");
  EXPECT_EQ(list({"ab", "cd", Text::of(3, "e")}), " abcde  \r\n");
  EXPECT_EQ(list({Real(3.5)}), "   3.5000000    \r\n");
  EXPECT_EQ(list({"Digitar dado numero ", 1}), " Digitar dado numero            1\r\n");
  EXPECT_EQ(list({1, 2}), "           1           2\r\n");
}

}  // namespace
}  // namespace amostra

namespace amostra {
namespace {

// The layout path of the cached formats writes exactly what the general walk
// writes: I fields of every size and sign (asterisks included), A fields cut
// and padded, blanks before and after fields, record ends, fewer values than
// fields (the record ends at the first field without one), and formats with
// F or width-less A fields (no layout).
TEST(FormatLayout, WritesWhatTheGeneralWalkWrites) {
  static const char* const kFormats[] = {
      "(1x,\"*** Digitar repeticao \",i3, \" do tratamento \",I2)",
      "(1x, \"*\", a45, 2x, i2, 4x,\"*\")",
      "(3x,i1,2x,a4,1x,i11,5x)",
      "(\"a\",i4,/,2x,\"b\",a2,3x,/)",
      "(1x,54(\"*\"))",
      "(1x,\"x\",i2,\" y \",f6.2)",
      "(a, i3)",
  };
  const Text name = Text::of(20, "Apis-melifera");
  const Text shorter = Text::of(2, "ab");
  const int ints[] = {0, 7, -7, 42, 99, 100, -100, 999, 1000, 12345, -2147483647 - 1, 2147483647};
  for (const char* format : kFormats) {
    for (int i : ints) {
      for (int j : ints) {
        auto check = [&](std::initializer_list<Val> values) {
          Record general, layout;
          render_format(general, parse_format(format), values);
          render_entry(layout, format_entry(format), values);
          ASSERT_EQ(layout.view(), general.view()) << format << " " << i << " " << j;
        };
        const std::string_view f(format);
        if (f.find("a45") != std::string_view::npos) {
          check({name, i});
          check({name});
        } else if (f.find("a4,") != std::string_view::npos) {
          check({i, name, j});
          check({i, shorter, j});
          check({i});
        } else if (f.find("a2") != std::string_view::npos) {
          check({i, shorter});
          check({i, name});
        } else if (f.find("f6") != std::string_view::npos) {
          check({i, Real(2.5)});
        } else if (f.find("(a,") != std::string_view::npos) {
          check({name, i});
        } else if (f.find("i3") != std::string_view::npos) {
          check({i, j});
          check({i});
          check({});
        } else {
          check({});
        }
      }
    }
  }
  EXPECT_TRUE(format_entry(kFormats[0]).fixed);
  EXPECT_FALSE(format_entry(kFormats[5]).fixed);  // F: the general walk
  EXPECT_FALSE(format_entry(kFormats[6]).fixed);  // A of the value's own length
}

}  // namespace
}  // namespace amostra
