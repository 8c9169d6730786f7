// Whole runs: the first post and its jump window.
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
  const Draw* deadText = surface.FindText("yOU'rE dEAd.");
  ASSERT_NE(deadText, nullptr);
  EXPECT_EQ(deadText->x1, 16);
  EXPECT_EQ(deadText->y1, 440);
  // The next span from rand seeded 1: (41 * 18467) / 8 % 1000 + 2500 = 3143. The
  // position was -2900 + 5916 = 3016: 16 past the post, so 16 - 3143 in the new span.
  EXPECT_EQ(game.halfSpan, 3143);
  EXPECT_EQ(game.spanPosition, -3127);
  Step();
  EXPECT_NE(surface.FindText("trAIn spEEd : 34k/h   scOrE : 349pts."), nullptr);
  EXPECT_EQ(game.score, 349);
  EXPECT_EQ(surface.FindText("mE"), nullptr);
}

TEST_F(FirstPost, OnePressFromStep324To344ClearsIt) {
  for (int pressStep = 322; pressStep <= 346; ++pressStep) {
    FreshRun();
    for (int i = 1; i <= 360; ++i) Step(i == pressStep);
    const bool clears = pressStep >= 324 && pressStep <= 344;
    EXPECT_EQ(game.dead, clears ? 0 : 1) << "press in step " << pressStep;
  }
}

}  // namespace
}  // namespace vtrak::testing
