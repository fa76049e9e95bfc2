// The exhaustive precision checks in tools/ compare printed fields through
// their own Fw.d text (tools/precision/fw_field.hpp); a slip there would hide or invent
// a printed difference. Here it must give the program's own field bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "../../tools/precision/fw_field.hpp"
#include "console/fields.hpp"

namespace {

std::string program_field(float x, int w, int d) {
  amostra::Record r;
  amostra::put_f(r, x, w, d);
  return std::string(r.view());
}

float from_bits(std::uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}

const int kFields[][2] = {{5, 3}, {5, 2}, {7, 2}, {6, 2}, {6, 0}};

TEST(FwFieldTool, SpecialValuesTiesAndSignedZerosAsTheProgram) {
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f, -0.0f, 1e-30f, -1e-30f, -3.4694470e-18f, 0.125f, -0.125f, 0.0625f,
                          0.0005f, 0.0015f, 0.005f, 0.015f, 0.995f, 9.995f, 99.995f, 99.994f,
                          -1.0f, -0.9995f, 1.0f, 100000.0f, 1e10f, 4.57f, -584.505f, 5.55f,
                          std::numeric_limits<float>::denorm_min(), inf, -inf,
                          std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN()};
  for (const auto& f : kFields)
    for (float x : values) EXPECT_EQ(fw_field::text(x, f[0], f[1]), program_field(x, f[0], f[1])) << x;
  // The signed zero that tells the Kruskal-Wallis session apart.
  EXPECT_EQ(fw_field::text(-3.4694470e-18f, 7, 2), "  -0.00");
  EXPECT_EQ(fw_field::text(0.0f, 7, 2), "   0.00");
}

TEST(FwFieldTool, SweepOfBitPatternsAsTheProgram) {
  // Every 4099th bit pattern, both signs, all exponents: about a million
  // singles per field width.
  for (const auto& f : kFields)
    for (std::uint64_t b = 0; b < (std::uint64_t(1) << 32); b += 4099) {
      const float x = from_bits(static_cast<std::uint32_t>(b));
      const std::string want = program_field(x, f[0], f[1]);
      if (fw_field::text(x, f[0], f[1]) != want) {
        ADD_FAILURE() << "bits " << b << " in F" << f[0] << "." << f[1] << ": program " << want;
        return;
      }
    }
}

}  // namespace
