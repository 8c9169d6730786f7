#pragma once
// The Game: the state of the current run and the per-frame step that advances
// it and draws the playfield, the head-up text and the figure "mE".
#include <cstdint>

#include "game/drawing_surface.h"

namespace vtrak {

struct InputState;
struct SoundBank;

struct Game {
  DrawingSurface* canvas;   // target of all drawing
  const InputState* input;  // key state, only read here
  SoundBank* soundBank;     // kept with the others; the step does not use it
  int32_t spanPosition;     // place in the current span, from its middle, in ground units
  int32_t halfSpan;         // half the length of the current span
  int32_t speed;            // ground units per step, shown as the train speed
  int32_t scrollPhase;      // scroll position of the sleepers
  int32_t score;            // steps survived in this run
  int32_t dead;             // 1 once the run is over
  int32_t jumpTimer;        // steps left in the current jump; 0 on the ground
};

// Run start values: the figure on the ground, the first post 5900 units ahead.
inline constexpr int32_t kStartSpanPosition = -2900;
inline constexpr int32_t kStartHalfSpan = 3000;
inline constexpr int32_t kJumpSteps = 30;
inline constexpr uint32_t kLineColour = 0xFFFFFFFFu;

// A Game at its run start values, drawing on `canvas` and reading `input`.
Game NewGame(DrawingSurface* canvas, const InputState* input, SoundBank* soundBank);

// Sets every field but the three references to its run start value.
void SetRunStartValues(Game& game);

// The train speed for a score: s / 10 up to 100, then three sine swings.
int32_t SpeedForScore(int32_t score);

// One step of the run, drawn completely. The frame loop calls it once per
// presented frame, or, at a chosen rate, as many times as the clock says are due
// (none to four) before each present.
void StepGame(Game& game);

}  // namespace vtrak
