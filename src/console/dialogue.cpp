#include "console/dialogue.hpp"

namespace amostra {

void refuse_capacity(Console& c, int maximum) {
  c.blank();
  c.list({"OS VALORES ULTRAPASSAM OS LIMITES DO PROGRAMA. MAXIMO =", maximum});
  c.blank();
}

}  // namespace amostra
