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

// A fresh run on a surface that draws nothing, its keys set directly.
struct BenchRun {
  vtrak::SystemClock clock;
  vtrak::InputState input{clock};
  DiscardingSurface surface;
  vtrak::Game game{&surface, &input, nullptr, 0, 0, 0, 0, 0, 0, 0};

  BenchRun() {
    vtrak::SetRunStartValues(game);
    vtrak::crt::srand(1);
  }
};

// Autoplayed steps, the key state set as a poll would set it.
void BM_StepGame(benchmark::State& state) {
  BenchRun run;
  for (auto _ : state) {
    const bool jump = vtrak::AutoplayWantsJump(run.game);
    run.input.keyState[0x2C] = jump ? 0x80 : 0;
    run.input.keyHoldFrames[0x2C] = jump ? 1 : 0;
    vtrak::StepGame(run.game);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["score"] = run.game.score;
}
BENCHMARK(BM_StepGame);

// The step alone, no autoplay look-ahead: a run left to die and go on dead.
void BM_StepGameOnly(benchmark::State& state) {
  BenchRun run;
  for (auto _ : state) vtrak::StepGame(run.game);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StepGameOnly);

}  // namespace

BENCHMARK_MAIN();
