// The program as a whole: its error report, its exit statuses and its tables.
#include <gtest/gtest.h>

#include <sstream>

#include "menu/program.hpp"
#include "menu/tables.hpp"
#include "support/session.hpp"

namespace amostra {
namespace {

TEST(Program, FatalInputErrorReportsTwoLinesOnStandardError) {
  auto s = test::run_session("abc\n");
  EXPECT_EQ(s.status, 2);
  // "At line <n> of file program.cpp (unit = 5, file = 'stdin')", then the message.
  const std::string location = s.err.substr(0, s.err.find('\n') + 1);
  EXPECT_EQ(location.rfind("At line ", 0), 0u) << s.err;
  EXPECT_NE(location.find(" of file program.cpp (unit = 5, file = 'stdin')\n"), std::string::npos) << s.err;
  EXPECT_EQ(s.err.substr(location.size()), "Runtime error: Bad integer for item 1 in list input\n");
  EXPECT_EQ(s.out, test::menu_screen());  // written before the error, nothing after
}

TEST(Program, DifferentReadStatementsAreTold) {
  auto at_menu = test::run_session("");
  auto at_confirmation = test::run_session("4\n");
  EXPECT_NE(at_menu.err.substr(0, at_menu.err.find('\n')),
            at_confirmation.err.substr(0, at_confirmation.err.find('\n')));
}

// An output stream that refuses every byte, as a closed pipe does.
class Refusing : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(Program, UnwritableOutputStopsTheRun) {
  std::istringstream in("1\n1\n");
  Refusing sink;
  std::ostream out(&sink);
  std::ostringstream err;
  EXPECT_EQ(run(in, out, err), 2);
  EXPECT_EQ(err.str(), "Runtime error: cannot write to standard output\n");
}

TEST(Program, TheRegressionModelCodeIsTheMenuCodeVariable) {
  // The model code 0 typed last stays in the variable the end prompt reads
  // into, so a null answer there ends the program.
  auto s = test::run_session("7\n1\n3\n1 2\n2 4\n3 6\n0\n0\n,\n");
  EXPECT_EQ(s.status, 0) << s.err;
  const std::string tail = test::end_prompt() + test::records({" Fim do Programa"});
  ASSERT_GE(s.out.size(), tail.size());
  EXPECT_EQ(s.out.substr(s.out.size() - tail.size()), tail);
  EXPECT_EQ(s.out.find(test::end_prompt()), s.out.size() - tail.size());  // shown once
}

TEST(Tables, FixedLengthsAndPadding) {
  Tables t;
  EXPECT_EQ(t.mens1.bytes(), "CURVAS D0 MODELO 1");
  EXPECT_EQ(t.mens1a.bytes(), "(Ver pagina 60 do tutorial)   ");
  EXPECT_EQ(t.mens8.bytes(), "Erro padr\xC6o da Regressao =    ");
  EXPECT_EQ(t.resho.bytes(), "Aceitamos_Ho  ");
  EXPECT_EQ(t.resh1.bytes(), "Rejeitamos_Ho ");
  EXPECT_EQ(t.mensagem.bytes(), "Ver Tabela para N =   ");
  EXPECT_EQ(t.mensagem2.bytes(), "Z tabelar = 1.96 **   ");
  EXPECT_EQ(t.model[0].bytes(), "         Modelo: Linha reta             ");
  EXPECT_EQ(t.model[1].bytes(), "         Modelo: Curva hiperb\xA2lica      ");
  EXPECT_EQ(t.model[4].bytes(), "         Modelo: Curva potencial        ");
  EXPECT_EQ(t.aplic[9].bytes(), "Teste  Kolmogorov-Smirnov" + std::string(25, ' '));
  EXPECT_EQ(t.aplic[19].bytes(), std::string(50, ' '));
  EXPECT_EQ(t.ast.bytes(), "*");
  EXPECT_EQ(t.bra.bytes(), " ");
}

}  // namespace
}  // namespace amostra
