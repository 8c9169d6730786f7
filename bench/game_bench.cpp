// StepGame's throughput with no drawing behind it: the rules alone.
#include <benchmark/benchmark.h>

#include "game/autoplay.h"
#include "game/game.h"
#include "input/input_state.h"
#include "platform/core/clock.h"
#include "platform/core/crt_rand.h"

namespace {

class DiscardingSurface final : public vtrak::DrawingSurface {
 public:
  void DrawLine(uint32_t, int32_t x1, int32_t, int32_t, int32_t) override {
    benchmark::DoNotOptimize(x1);
  }
  void DrawOutlinedText(int32_t x, int32_t, const char*) override { benchmark::DoNotOptimize(x); }
};

// Autoplayed steps, the key state set as a poll would set it.
void BM_StepGame(benchmark::State& state) {
  vtrak::SystemClock clock;
  vtrak::InputState input(clock);
  DiscardingSurface surface;
  vtrak::Game game{&surface, &input, nullptr, 0, 0, 0, 0, 0, 0, 0};
  vtrak::SetRunStartValues(game);
  vtrak::crt::srand(1);
  for (auto _ : state) {
    const bool jump = vtrak::AutoplayWantsJump(game);
    input.keyState[0x2C] = jump ? 0x80 : 0;
    input.keyHoldFrames[0x2C] = jump ? 1 : 0;
    vtrak::StepGame(game);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["score"] = game.score;
}
BENCHMARK(BM_StepGame);

// The step alone, no autoplay look-ahead: a run left to die and go on dead.
void BM_StepGameOnly(benchmark::State& state) {
  vtrak::SystemClock clock;
  vtrak::InputState input(clock);
  DiscardingSurface surface;
  vtrak::Game game{&surface, &input, nullptr, 0, 0, 0, 0, 0, 0, 0};
  vtrak::SetRunStartValues(game);
  for (auto _ : state) vtrak::StepGame(game);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StepGameOnly);

}  // namespace

BENCHMARK_MAIN();
