#include "menu/program.hpp"

#include <cstring>

#include "console/console.hpp"
#include "core/fpenv.hpp"
#include "menu/apps.hpp"
#include "menu/tables.hpp"

namespace amostra {
namespace {

constexpr const char* kStars55 = "*******************************************************";

// Code 7 is not in the table: it shares the menu's code variable (see dispatch).
const Application kApplications[17] = {
    sample_size,      student_t, paired_t,      anova_one_way,          anova_two_way,
    anova_replicated, nullptr,   runs_test,     chi_square,             kolmogorov_smirnov,
    z_proportions,    wilcoxon,  mann_whitney,  spearman,               kruskal_wallis,
    curvilinear_regression,      taxonomic_potential,
};

// Runs the application of a confirmed code.  The regression of code 7 reads
// its model codes into the menu's own code variable, so the answer the
// end-of-application prompt starts from is the last model code typed.
Ending dispatch(Console& c, const Tables& t, int& icod) {
  if (icod == 7) return linear_regression(c, t, icod);
  return kApplications[icod - 1](c, t);
}

// The menu with its confirmation; returns the confirmed code, 1..17.
int choose_application(Console& c, const Tables& t) {
  int icod = 0;
  int conf = 0;
  for (;;) {
    c.list({kStars55});
    c.write("(1x,\"*\",10x,\"APLICAÇÃO\", 26X, \"CODIGO\",a1, 1X,\"*\")", {t.bra});
    for (int j = 1; j <= 17; ++j) c.write("(1x, \"*\", a45, 2x, i2, 4x,\"*\")", {t.aplic[j - 1], j});
    c.list({kStars55});
    c.blank(2);
    c.list({kStars55});
    c.list({kStars55});
    c.list({"** CONSULTE O TUTORIAL E DIGITE O CODIGO DA APLICACAO**"});
    c.list({kStars55});
    c.list({kStars55});
    c.read(icod);
    c.blank();
    if (icod < 1 || icod > 17) continue;
    c.blank(2);
    c.list({kStars55});
    c.write(
        "(1x,\"**\",\" Voce escolheu \",a36,\"**\", /1x, \"** Confirma a  escolha? \",\"(0 = Nao //// 1 = "
        "Sim)\",\"       **\",a1 )",
        {t.aplic[icod - 1], t.bra});
    c.list({kStars55});
    c.read(conf);
    if (conf != 0) return icod;
  }
}

// The end-of-application prompt: repeated until 0 is typed.  The answer goes
// into the menu's code variable, so a null answer keeps the (nonzero) code.
void end_of_application(Console& c, int icod) {
  do {
    c.blank();
    c.write("(1x, 54(\"*\") /1x,\"*\", 7x,\"Digitar ZER0 para concluir o aplicativo\", 6x,\"*\"/1x, 54(\"*\"))");
    c.read(icod);
  } while (icod != 0);
}

const char* base_name(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

int run(std::istream& in, std::ostream& out, std::ostream& err) {
  establish_arithmetic();
  Console c(in, out);
  try {
    try {
      const Tables t;
      int icod = choose_application(c, t);
      if (dispatch(c, t, icod) == Ending::Prompt) end_of_application(c, icod);
      c.list({"Fim do Programa"});
      c.flush();
      return 0;
    } catch (const InputError& e) {
      c.flush();  // what was written before the error still goes out
      err << "At line " << e.site().line << " of file " << base_name(e.site().file)
          << " (unit = 5, file = 'stdin')\n"
          << "Runtime error: " << e.what() << '\n';
      err.flush();
      return 2;
    }
  } catch (const OutputError& e) {
    err << "Runtime error: " << e.what() << '\n';
    err.flush();
    return 2;
  }
}

}  // namespace amostra
