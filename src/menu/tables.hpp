// The start-up text tables: fixed-length, blank-padded, filled once before the
// menu and read by the applications.
#pragma once

#include <array>

#include "console/value.hpp"

namespace amostra {

struct Tables {
  Text mens1{18}, mens1a{30}, mens2{18}, mens2a{30}, mens3{18}, mens3a{30}, mens4{18}, mens4a{30};
  Text mens5{4}, mens6{4}, mens7{4}, mens8{30};
  Text resho{14}, resh1{14};
  Text ast{1}, bra{1};
  Text mensagem{22}, mensagem2{22};
  std::array<Text, 5> model;   // model(1)..model(5) at [0]..[4]
  std::array<Text, 20> aplic;  // aplic(1)..aplic(17) at [0]..[16]; the last three stay blank

  Tables();
};

}  // namespace amostra
