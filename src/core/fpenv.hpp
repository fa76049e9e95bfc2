// The floating-point environment every run starts from.
#pragma once

namespace amostra {

// Extended precision on the x87 unit, rounding to nearest, every exception
// masked: a division by zero yields an infinity and the dialogue goes on.
void establish_arithmetic();

}  // namespace amostra
