// The golden sessions as parameters of tests: their names, their files and a
// test name for each.  Header-only, so every test program can use it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace amostra::test {

// The whole contents of a file, as bytes.
inline std::string slurp(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Every session under `dir` (each NAME.in), as NAME relative to `dir`, sorted.
inline std::vector<std::string> golden_names(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.path().extension() == ".in") names.push_back(fs::relative(e.path(), dir).replace_extension().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A test name for a parameter: every character but letters and digits becomes '_'.
inline std::string golden_test_name(const testing::TestParamInfo<std::string>& info) {
  std::string n = info.param;
  for (char& c : n)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
}

}  // namespace amostra::test
