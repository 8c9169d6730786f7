#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "game/game.h"
#include "input/input_state.h"
#include "platform/core/crt_rand.h"
#include "platform/core/wrapping.h"
#include "platform/input/input_devices.h"

namespace vtrak {
namespace {

constexpr double kE = 2.71828;

// A key counts as pressed in the step in which its hold counter is exactly 1.
bool Pressed(const InputState& input, uint8_t key) {
  return (input.keyState[key] & 0x80) != 0 && input.keyHoldFrames[key] == 1;
}

// Both lines of the post centred on x = 320 - q, each only inside the playfield.
void DrawPost(DrawingSurface& canvas, int32_t q) {
  for (const int32_t base : {352, 288}) {
    const int32_t x = base - q;
    if (std::abs(x - 320) < 240) canvas.DrawLine(kLineColour, x, 60, x, 280);
  }
}

}  // namespace

Game NewGame(DrawingSurface* canvas, const InputState* input, SoundBank* soundBank) {
  return Game{.canvas = canvas,
              .input = input,
              .soundBank = soundBank,
              .spanPosition = kStartSpanPosition,
              .halfSpan = kStartHalfSpan,
              .speed = 0,
              .scrollPhase = 0,
              .score = 0,
              .dead = 0,
              .jumpTimer = 0};
}

void SetRunStartValues(Game& game) {
  game = NewGame(game.canvas, game.input, game.soundBank);
}

void StepGame(Game& game) {
  DrawingSurface& canvas = *game.canvas;
  const InputState& input = *game.input;

  // The head-up text shows the speed and score as they stand before this step.
  char headUp[80];
  std::snprintf(headUp, sizeof headUp, "trAIn spEEd : %dk/h   scOrE : %dpts.", game.speed,
                game.score);

  // The frame of the playfield; the line at y = 280 is the ground.
  canvas.DrawLine(kLineColour, 80, 60, 560, 60);
  canvas.DrawLine(kLineColour, 80, 400, 560, 400);
  canvas.DrawLine(kLineColour, 80, 280, 560, 280);
  canvas.DrawLine(kLineColour, 80, 60, 80, 400);
  canvas.DrawLine(kLineColour, 560, 60, 560, 400);

  game.speed = SpeedForScore(game.score);

  if (game.dead == 0) {
    game.score = WrappingAdd(game.score, 1);
  } else if (Pressed(input, DIK_X)) {
    SetRunStartValues(game);
  }

  // The post ahead, then the post behind.
  DrawPost(canvas, WrappingSub(game.spanPosition, game.halfSpan) / 2);
  DrawPost(canvas, WrappingAdd(game.spanPosition, game.halfSpan) / 2);

  // The span line hangs lowest in the middle of a span: 240 - 100 cosh(position).
  const double ratio = static_cast<double>(game.spanPosition) / static_cast<double>(game.halfSpan);
  const int32_t spanY =
      WrappingSub(240, TruncateToInt32((std::pow(kE, ratio) + std::pow(kE, -ratio)) * 0.5 * 100));
  canvas.DrawLine(kLineColour, 80, spanY, 560, spanY);

  // Wrapping only matters once the score itself has wrapped, after 2^31 steps.
  game.scrollPhase = WrappingAdd(game.scrollPhase, game.speed);
  game.spanPosition = WrappingAdd(game.spanPosition, game.speed);
  if (game.scrollPhase > 160) game.scrollPhase -= 160;

  // The sleepers, from right to left, every 80 pixels.
  for (int32_t x = 560 - game.scrollPhase / 2; x > 80; x -= 80) {
    canvas.DrawLine(kLineColour, x, 280, x, 400);
  }

  // The post ahead has reached the figure: it must be in the air.
  if (game.spanPosition > game.halfSpan) {
    if (std::abs(game.jumpTimer - 15) > 10) game.dead = 1;
    game.spanPosition = WrappingSub(game.spanPosition, game.halfSpan);
    const int32_t r1 = crt::rand();
    const int32_t r2 = crt::rand();
    const int32_t nextHalfSpan = (r1 * r2) / 8 % 1000 + 2500;
    game.spanPosition = WrappingSub(game.spanPosition, nextHalfSpan);
    game.halfSpan = nextHalfSpan;
  }

  canvas.DrawOutlinedText(16, 16, headUp);

  if (game.jumpTimer == 0 && Pressed(input, DIK_Z)) game.jumpTimer = kJumpSteps;
  if (game.jumpTimer != 0) game.jumpTimer -= 1;

  if (game.dead == 0) {
    const int32_t lift = game.jumpTimer - 15;
    canvas.DrawOutlinedText(312, 239 + lift * lift / 9, "mE");
  }
  canvas.DrawOutlinedText(480, 440, "z : jUmp    x : rEstArt");
  if (game.dead == 1) canvas.DrawOutlinedText(16, 440, "yOU'rE dEAd.");
}

}  // namespace vtrak
