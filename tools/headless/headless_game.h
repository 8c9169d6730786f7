#pragma once
// A Game with no window, put together as start-up puts the real one together:
// the real InputState on a scripted keyboard (its set-up seeds rand from the
// clock), then the given seed, then a fresh run drawing on the given surface.
// The simulator, the tests and the benchmarks all make their games here.
#include <cstdint>
#include <optional>

#include "game/game.h"
#include "input/input_state.h"
#include "platform/core/clock.h"
#include "platform/input/scripted_input.h"

namespace vtrak {

struct HeadlessGame {
  // `seed` replaces the clock's seed when given. Nothing is drawn until a step.
  HeadlessGame(DrawingSurface& surface, std::optional<uint32_t> seed);
  ~HeadlessGame();
  HeadlessGame(const HeadlessGame&) = delete;
  HeadlessGame& operator=(const HeadlessGame&) = delete;

  // Holds Z and X down or lets them up on the scripted keyboard and polls it,
  // as the frame loop polls before each step.
  void Poll(bool zDown, bool xDown);

  SystemClock clock;
  ScriptedDevices devices;  // what the next poll reads
  InputState input;
  HRESULT inputSetUp;  // what InitInput returned
  Game game;
};

}  // namespace vtrak
