// Applications of this folder that are not built yet: each goes straight to
// the end-of-application prompt.  Each is removed from here when its unit lands.
#include "menu/apps.hpp"

namespace amostra {

Ending sample_size(Console&, const Tables&) { return Ending::Prompt; }
Ending student_t(Console&, const Tables&) { return Ending::Prompt; }
Ending paired_t(Console&, const Tables&) { return Ending::Prompt; }
Ending anova_one_way(Console&, const Tables&) { return Ending::Prompt; }
Ending anova_two_way(Console&, const Tables&) { return Ending::Prompt; }
Ending anova_replicated(Console&, const Tables&) { return Ending::Prompt; }
Ending z_proportions(Console&, const Tables&) { return Ending::Prompt; }

}  // namespace amostra
