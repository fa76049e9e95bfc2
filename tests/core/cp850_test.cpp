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
