// Applications of this folder that are not built yet: each goes straight to
// the end-of-application prompt.  Each is removed from here when its unit lands.
#include "menu/apps.hpp"

namespace amostra {

Ending runs_test(Console&, const Tables&) { return Ending::Prompt; }
Ending chi_square(Console&, const Tables&) { return Ending::Prompt; }
Ending kolmogorov_smirnov(Console&, const Tables&) { return Ending::Prompt; }
Ending wilcoxon(Console&, const Tables&) { return Ending::Prompt; }
Ending mann_whitney(Console&, const Tables&) { return Ending::Prompt; }
Ending spearman(Console&, const Tables&) { return Ending::Prompt; }
Ending kruskal_wallis(Console&, const Tables&) { return Ending::Prompt; }

}  // namespace amostra
