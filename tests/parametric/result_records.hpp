// Result records of the sample size and paired t screens, shared by the
// checks of each application and of negative counts.
#pragma once

#include <string>

namespace amostra::test {

// The result of the continuous-variable branch of the sample size.
inline std::string continuous_result(const std::string& erro, const std::string& size) {
  return " * Erro maximo aceitavel = " + erro + " // Tamanho da amostra = " + size + "*";
}

// The result record of the paired t.
inline std::string paired_record(const std::string& t, const std::string& gl) {
  return " " + std::string(11, '*') + " 't' = " + t + " /// Graus de liberdade = " + gl + " " + std::string(10, '*');
}

}  // namespace amostra::test
