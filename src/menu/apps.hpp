// The seventeen applications and the two ways an application ends.
#pragma once

#include "console/console.hpp"
#include "menu/tables.hpp"

namespace amostra {

enum class Ending {
  Prompt,  // through the end-of-application prompt ("Digitar ZER0 ...")
  Direct,  // straight to "Fim do Programa"
};

using Application = Ending (*)(Console&, const Tables&);

// Menu codes 1..17, in menu order.
Ending sample_size(Console& c, const Tables& t);             // 1
Ending student_t(Console& c, const Tables& t);               // 2
Ending paired_t(Console& c, const Tables& t);                // 3
Ending anova_one_way(Console& c, const Tables& t);           // 4
Ending anova_two_way(Console& c, const Tables& t);           // 5
Ending anova_replicated(Console& c, const Tables& t);        // 6
Ending linear_regression(Console& c, const Tables& t, int& icod);  // 7: reads into the menu's code
Ending runs_test(Console& c, const Tables& t);               // 8
Ending chi_square(Console& c, const Tables& t);              // 9
Ending kolmogorov_smirnov(Console& c, const Tables& t);      // 10
Ending z_proportions(Console& c, const Tables& t);           // 11
Ending wilcoxon(Console& c, const Tables& t);                // 12
Ending mann_whitney(Console& c, const Tables& t);            // 13
Ending spearman(Console& c, const Tables& t);                // 14
Ending kruskal_wallis(Console& c, const Tables& t);          // 15
Ending curvilinear_regression(Console& c, const Tables& t);  // 16
Ending taxonomic_potential(Console& c, const Tables& t);     // 17

}  // namespace amostra
