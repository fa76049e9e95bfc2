// The whole program as a function of its three standard streams.
#pragma once

#include <istream>
#include <ostream>

namespace amostra {

// Runs one session: the menu, one application and the end of the program.
// Returns the exit status: 0 after "Fim do Programa", 2 after a fatal input
// error (reported on `err`) or when `out` cannot be written.
int run(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace amostra
