#include <cmath>

#include "game/game.h"
#include "platform/core/wrapping.h"

namespace vtrak {
namespace {

// Degrees to radians with pi taken as 3.141592653.
constexpr double kDegree = 0.017453292516666667;

// (s - offset) / 25, clamped to 0..20: how far one sine swing has grown.
int32_t SwingAmplitude(int32_t score, int32_t offset) {
  const int32_t quotient = WrappingSub(score, offset) / 25;
  if (quotient < 0) return 0;
  if (quotient > 20) return 20;
  return quotient;
}

}  // namespace

int32_t SpeedForScore(int32_t score) {
  int32_t base = score / 10;
  if (base > 100) base = 100;
  const int32_t a1 = SwingAmplitude(score, 1000);
  const int32_t a2 = SwingAmplitude(score, 1500);
  const int32_t a3 = SwingAmplitude(score, 2000);
  const double s = score;
  double v = std::sin(s * 0.6 * kDegree) * a1 + base;
  v = std::sin(s * 0.5 * kDegree) * a2 + v;
  v = std::sin(s * 0.7 * kDegree) * a3 + v;
  return TruncateToInt32(v);
}

}  // namespace vtrak
