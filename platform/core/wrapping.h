#pragma once
// Signed 32-bit addition and subtraction that wrap around, as the game's
// counters do after 2^31 steps, without undefined behaviour.
#include <cmath>
#include <cstdint>

namespace vtrak {

constexpr int32_t WrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t WrappingSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Double to 32-bit integer, truncating toward zero. A value outside the range
// (or NaN) gives INT32_MIN, the processor's "integer indefinite", instead of
// undefined behaviour.
inline int32_t TruncateToInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace vtrak
