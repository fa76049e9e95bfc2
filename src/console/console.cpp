#include "console/console.hpp"

namespace amostra {

void Console::emit() {
  out_.write(record_.data(), static_cast<std::streamsize>(record_.size()));
  if (!out_) throw OutputError();
}

void Console::flush() {
  out_.flush();
  if (!out_) throw OutputError();
}

}  // namespace amostra
