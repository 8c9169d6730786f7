// Whole runs: the first post and its jump window, and the invariants of a long
// autoplayed run.
#include "game/autoplay.h"
#include "tests/game/game_fixture.h"

namespace vtrak::testing {
namespace {

using FirstPost = GameFixture;

TEST_F(FirstPost, WithNoKeyTheRunEndsInStep349) {
  for (int i = 1; i <= 348; ++i) Step();
  ASSERT_EQ(game.dead, 0);
  ASSERT_EQ(game.score, 348);
  Step();
  EXPECT_EQ(game.dead, 1);
  EXPECT_EQ(game.score, 349);
  EXPECT_EQ(game.speed, 34);
  EXPECT_NE(surface.FindText("yOU'rE dEAd."), nullptr);
  Step();
  EXPECT_NE(surface.FindText("trAIn spEEd : 34k/h   scOrE : 349pts."), nullptr);
  EXPECT_EQ(game.score, 349);
  EXPECT_EQ(surface.FindText("mE"), nullptr);
}

TEST_F(FirstPost, OnePressFromStep324To344ClearsIt) {
  for (int pressStep = 322; pressStep <= 346; ++pressStep) {
    SetUp();
    steps = 0;
    for (int i = 1; i <= 360; ++i) Step(i == pressStep);
    const bool clears = pressStep >= 324 && pressStep <= 344;
    EXPECT_EQ(game.dead, clears ? 0 : 1) << "press in step " << pressStep;
  }
}

TEST_F(GameFixture, AutoplayedMillionStepsKeepTheInvariants) {
  bool passedFirstPost = false;
  int passages = 0;
  for (int i = 0; i < 1'000'000; ++i) {
    ASSERT_GT(game.spanPosition, -game.halfSpan) << "step " << i;
    ASSERT_LE(game.spanPosition, game.halfSpan) << "step " << i;
    const int32_t positionBefore = game.spanPosition;
    SetKey(0x2C, AutoplayWantsJump(game));
    StepGame(game);
    // The speed never runs backwards: the position drops only when a post is passed.
    if (game.spanPosition < positionBefore) {
      passedFirstPost = true;
      ++passages;
    }
    ASSERT_EQ(game.dead, 0) << "autoplay missed a post in step " << i;
    ASSERT_GE(game.speed, 0);
    ASSERT_LE(game.speed, 160);
    ASSERT_GE(game.scrollPhase, 0);
    ASSERT_LE(game.scrollPhase, 160);
    if (passedFirstPost) {
      ASSERT_GE(game.halfSpan, 2500);
      ASSERT_LE(game.halfSpan, 3499);
    } else {
      ASSERT_EQ(game.halfSpan, 3000);
    }
    surface.draws.clear();
  }
  EXPECT_EQ(game.score, 1'000'000);
  EXPECT_GT(passages, 10000);
}

}  // namespace
}  // namespace vtrak::testing
