#include "support/session.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "core/cp850.hpp"
#include "menu/program.hpp"

namespace amostra::test {

Session run_session(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  int status = run(in, out, err);
  return {out.str(), err.str(), status};
}

std::string records(std::initializer_list<std::string> lines) {
  std::string s;
  for (const std::string& line : lines) s += to_cp850(line) + "\r\n";
  return s;
}

std::string application_output(int code, const std::string& answers) {
  Session s = run_session(std::to_string(code) + "\n1\n" + answers + "0\n");
  if (s.status != 0) ADD_FAILURE() << "status " << s.status << ": " << s.err;
  return s.out;
}

bool has_records(const std::string& out, std::initializer_list<std::string> lines) {
  return out.find("\r\n" + records(lines)) != std::string::npos;
}

std::string out_of(const std::string& input) {
  Session s = run_session(input);
  EXPECT_EQ(s.status, 0) << s.err;
  return s.out;
}

bool has_record(const std::string& out, const std::string& record) { return has_records(out, {record}); }

int count_records(const std::string& out, const std::string& record) {
  return count_of(out, "\n" + records({record}));
}

int count_of(const std::string& out, const std::string& text) {
  int n = 0;
  for (std::size_t at = out.find(text); at != std::string::npos; at = out.find(text, at + 1)) ++n;
  return n;
}

std::string record_with(const std::string& out, const std::string& marker) {
  std::size_t at = out.find(marker);
  if (at == std::string::npos) return "";
  std::size_t start = out.rfind('\n', at);
  start = start == std::string::npos ? 0 : start + 1;
  return out.substr(start, out.find("\r\n", at) - start);
}

std::string refusal(int maximum) {
  std::ostringstream s;
  s << " OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO = ";
  s.width(11);
  s << maximum;
  return s.str();
}

std::string one_per_line(int last) {
  std::string s;
  for (int j = 1; j <= last; ++j) s += std::to_string(j) + "\n";
  return s;
}

namespace {
const std::string kFrame = " " + std::string(55, '*');

// Characters of a UTF-8 string (its code page 850 length).
std::size_t chars(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string row(const std::string& title, const std::string& code) {
  // A blank, an asterisk, the title in 45 columns, 2 blanks, the code in 2, 4 blanks, an asterisk.
  return " *" + title + std::string(45 - chars(title), ' ') + "  " + code + "    *";
}
}  // namespace

std::string menu_screen() {
  return records({
      kFrame,
      " *          APLICAÇÃO                          CODIGO  *",
      row("Dimensionamento de Amostras", " 1"),
      row("Teste 't' de Student", " 2"),
      row("Teste 't' para dados parelhados", " 3"),
      row("ANOVA - 1 critério de classificação", " 4"),
      row("ANOVA - 2 critérios de classificação", " 5"),
      row("ANOVA - 2 critérios com repetições", " 6"),
      row("Correlacao/Regressao linear/linearizadas", " 7"),
      row("Teste de Aleatoriedade de 1 amostra", " 8"),
      row("Teste Qui-quadrado", " 9"),
      row("Teste  Kolmogorov-Smirnov", "10"),
      row("Teste Z para proporcoes", "11"),
      row("Teste de Wilcoxon", "12"),
      row("Teste de Mann-Withney", "13"),
      row("Correlacao de Spearman", "14"),
      row("Teste de Kruskal-Wallis", "15"),
      row("Regressoes Curvelineas", "16"),
      row("Potencial agregativo/discriminativo", "17"),
      kFrame,
      "",
      "",
      kFrame,
      kFrame,
      " ** CONSULTE O TUTORIAL E DIGITE O CODIGO DA APLICACAO**",
      kFrame,
      kFrame,
  });
}

std::string confirmation(int code) {
  static const char* cut[18] = {
      "",
      "Dimensionamento de Amostras         ",
      "Teste 't' de Student                ",
      "Teste 't' para dados parelhados     ",
      "ANOVA - 1 critério de classificação ",
      "ANOVA - 2 critérios de classificação",  // exactly 36 characters
      "ANOVA - 2 critérios com repetições  ",
      "Correlacao/Regressao linear/lineariz",
      "Teste de Aleatoriedade de 1 amostra ",
      "Teste Qui-quadrado                  ",
      "Teste  Kolmogorov-Smirnov           ",
      "Teste Z para proporcoes             ",
      "Teste de Wilcoxon                   ",
      "Teste de Mann-Withney               ",
      "Correlacao de Spearman              ",
      "Teste de Kruskal-Wallis             ",
      "Regressoes Curvelineas              ",
      "Potencial agregativo/discriminativo ",
  };
  return records({"", "", "", kFrame, std::string(" ** Voce escolheu ") + cut[code] + "**",
                  " ** Confirma a  escolha? (0 = Nao //// 1 = Sim)       ** ", kFrame});
}

std::string end_prompt() {
  return records({"", " " + std::string(54, '*'), " *       Digitar ZER0 para concluir o aplicativo      *",
                  " " + std::string(54, '*')});
}

}  // namespace amostra::test
