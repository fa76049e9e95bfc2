#include "console/console.hpp"

namespace amostra {

void Console::emit() {
  // Straight into the stream's buffer: a record is plain bytes.
  const auto size = static_cast<std::streamsize>(record_.size());
  if (size == 0) return;
  record_.clear();
  if (out_.rdbuf()->sputn(record_.view().data(), size) != size) throw OutputError();
}

void Console::flush() {
  emit();
  out_.flush();
  if (!out_) throw OutputError();
}

}  // namespace amostra
