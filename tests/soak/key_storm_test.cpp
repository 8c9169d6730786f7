// A million steps of key storms: Z and X go down and up at random, and the
// keyboard is now and then lost to another window, through the real
// InputState on a scripted keyboard. Every step must keep the invariants, a
// jump or restart must come from a fresh press and from nothing else, and the
// process must not grow.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <random>

#include "game/game.h"
#include "tests/soak/step_invariants.h"
#include "tools/headless/headless_game.h"

namespace vtrak::soak {
namespace {

constexpr int64_t kSteps = 1'000'000;
constexpr int64_t kWarmUpSteps = 100'000;

class NoDrawing final : public DrawingSurface {
 public:
  void DrawLine(uint32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void DrawOutlinedText(int32_t, int32_t, const char*) override {}
};

long MaxRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool FreshPress(const InputState& input, uint8_t key) {
  return (input.keyState[key] & 0x80) != 0 && input.keyHoldFrames[key] == 1;
}

TEST(KeyStorm, AMillionRandomStepsKeepTheRulesAndTheMemory) {
  NoDrawing surface;
  HeadlessGame headless(surface, 20240607);
  ASSERT_EQ(headless.inputSetUp, S_OK);
  ScriptedDevices& devices = headless.devices;
  const InputState& input = headless.input;
  Game& game = headless.game;
  StepInvariants invariants(/*deathAllowed=*/true);

  std::mt19937 storm(7);
  std::bernoulli_distribution flip(0.2), loseFocus(0.002), regainFocus(0.05);
  int64_t jumps = 0, awaySteps = 0, pressesWhileAway = 0;
  long warmRss = 0;
  bool zDown = false, xDown = false;
  for (int64_t step = 1; step <= kSteps; ++step) {
    if (flip(storm)) zDown = !zDown;
    if (flip(storm)) xDown = !xDown;
    const bool away = devices.keyboardAcquirable ? loseFocus(storm) : !regainFocus(storm);
    devices.keyboardAcquirable = !away;
    headless.Poll(zDown, xDown);

    const bool zPressed = FreshPress(input, DIK_Z);
    const bool xPressed = FreshPress(input, DIK_X);
    if (away) {
      ++awaySteps;
      if (zPressed || xPressed) ++pressesWhileAway;
    }
    const Game before = game;
    StepGame(game);

    const std::string fault =
        invariants.Check({step, game.speed, game.score, game.spanPosition, game.halfSpan,
                          game.scrollPhase, game.dead, game.jumpTimer});
    ASSERT_EQ(fault, "");
    // A restart lands the figure before Z is read, so it may jump at once.
    const bool restarted = before.dead == 1 && game.dead == 0;
    ASSERT_EQ(restarted, before.dead == 1 && xPressed) << "step " << step;
    const bool jumped = game.jumpTimer == kJumpSteps - 1;
    ASSERT_EQ(jumped, (before.jumpTimer == 0 || restarted) && zPressed) << "step " << step;
    if (jumped) ++jumps;
    if (step == kWarmUpSteps) warmRss = MaxRssKiB();
  }
  const RunCounts& counts = invariants.counts();
  EXPECT_EQ(counts.steps, kSteps);
  EXPECT_EQ(pressesWhileAway, 0) << "a key was read while another window had the keyboard";
  // The storm reached every rule it is meant to stir.
  EXPECT_GT(jumps, 10'000);
  EXPECT_GT(counts.deaths, 1'000);
  EXPECT_GT(counts.restarts, 1'000);
  EXPECT_GT(awaySteps, 10'000);
  EXPECT_LE(MaxRssKiB() - warmRss, 1024) << "the process grew after " << kWarmUpSteps << " steps";
}

}  // namespace
}  // namespace vtrak::soak
