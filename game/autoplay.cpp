#include "game/autoplay.h"

#include "platform/core/wrapping.h"

namespace vtrak {
namespace {

// A press clears a post passed 5 to 25 steps after the press step; aiming at
// 15 keeps the figure near the top of its jump when the post arrives.
constexpr int kAimSteps = 15;

}  // namespace

bool AutoplayWantsJump(const Game& game) {
  if (game.jumpTimer != 0 || game.dead != 0) return false;
  // Replay the motion of the coming steps as the step itself advances it.
  int32_t score = game.score;
  int32_t position = game.spanPosition;
  for (int step = 0; step <= kAimSteps; ++step) {
    position += SpeedForScore(score);
    score = WrappingAdd(score, 1);
    if (position > game.halfSpan) return step >= 5;
  }
  return false;
}

}  // namespace vtrak
