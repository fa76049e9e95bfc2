// Prints the screen of a tutorial example: the program's output with each
// typed line shown where the program waited for it, as a page shows it.
//   tutorial_example doc/tutorial/exemplos/04-anova.in
#include <fstream>
#include <iostream>
#include <sstream>

#include "tutorial/example_session.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tutorial_example FILE.in\n";
    return 64;
  }
  std::ifstream f(argv[1], std::ios::binary);
  if (!f) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 66;
  }
  std::ostringstream typed;
  typed << f.rdbuf();
  amostra::test::ExampleRun r = amostra::test::run_example(typed.str());
  std::cout << r.screen;
  std::cerr << r.err << "status " << r.status << ", lines never read: " << r.unread << "\n";
  return 0;
}
