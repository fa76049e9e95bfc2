// Applications of this folder that are not built yet: each goes straight to
// the end-of-application prompt.  Each is removed from here when its unit lands.
#include "menu/apps.hpp"

namespace amostra {

Ending taxonomic_potential(Console&, const Tables&) { return Ending::Prompt; }

}  // namespace amostra
