// StepGame's throughput with no drawing behind it: the rules alone.
#include <benchmark/benchmark.h>

#include "game/autoplay.h"
#include "game/game.h"
#include "tools/headless/headless_game.h"

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
  DiscardingSurface surface;
  vtrak::HeadlessGame headless{surface, 1};
  vtrak::Game& game = headless.game;
};

// Autoplayed steps, the key state set as a poll would set it.
void BM_StepGame(benchmark::State& state) {
  BenchRun run;
  vtrak::InputState& input = run.headless.input;
  for (auto _ : state) {
    const bool jump = vtrak::AutoplayWantsJump(run.game);
    input.keyState[vtrak::DIK_Z] = jump ? 0x80 : 0;
    input.keyHoldFrames[vtrak::DIK_Z] = jump ? 1 : 0;
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
