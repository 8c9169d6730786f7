// The rules of one step: speed curve, drawing of the first step, jumps,
// passages and restarts.
#include <climits>

#include "tests/game/game_fixture.h"

namespace vtrak::testing {
namespace {

TEST(SpeedCurve, FollowsTheScore) {
  for (int32_t s = 0; s <= 9; ++s) EXPECT_EQ(SpeedForScore(s), 0) << s;
  EXPECT_EQ(SpeedForScore(10), 1);
  EXPECT_EQ(SpeedForScore(999), 99);
  for (int32_t s = 1000; s <= 1024; ++s) EXPECT_EQ(SpeedForScore(s), 100) << s;
  const std::pair<int32_t, int32_t> known[] = {{1100, 96},  {1750, 94}, {2000, 97}, {2250, 101},
                                               {2500, 105}, {4000, 56}, {5000, 90}, {10000, 76}};
  for (const auto& [score, speed] : known) EXPECT_EQ(SpeedForScore(score), speed) << score;
  // A step before a swing grows: (1599 - 1500) / 25 and (2099 - 2000) / 25 are 3, not 4.
  EXPECT_EQ(SpeedForScore(1599), 85);  // 100 + 20 sin 959.4° + 3 sin 799.5°
  EXPECT_EQ(SpeedForScore(2099), 91);
  // (2040 - 1500) / 25 = 21 is held at 20: 100 + 20 sin 1224° + 20 sin 1020° + sin 1428°.
  EXPECT_EQ(SpeedForScore(2040), 94);
}

using FirstStep = GameFixture;

TEST_F(FirstStep, DrawsTheFramePostBehindSpanLineSleepersAndTexts) {
  Step();
  std::vector<Draw> expected = {
      {false, 80, 60, 560, 60, {}},
      {false, 80, 400, 560, 400, {}},
      {false, 80, 280, 560, 280, {}},
      {false, 80, 60, 80, 400, {}},
      {false, 560, 60, 560, 400, {}},
      // The post behind is centred on x = 270; the post ahead is far off to the right.
      {false, 302, 60, 302, 280, {}},
      {false, 238, 60, 238, 280, {}},
      {false, 80, 90, 560, 90, {}},  // span line: position -2900 of 3000
  };
  for (int32_t x = 560; x > 80; x -= 80) expected.push_back({false, x, 280, x, 400, {}});
  expected.push_back({true, 16, 16, 0, 0, "trAIn spEEd : 0k/h   scOrE : 0pts."});
  expected.push_back({true, 312, 264, 0, 0, "mE"});
  expected.push_back({true, 480, 440, 0, 0, "z : jUmp    x : rEstArt"});
  ASSERT_EQ(surface.draws.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const Draw& got = surface.draws[i];
    EXPECT_EQ(got.text, expected[i].text) << i;
    EXPECT_EQ(got.x1, expected[i].x1) << i;
    EXPECT_EQ(got.y1, expected[i].y1) << i;
    EXPECT_EQ(got.x2, expected[i].x2) << i;
    EXPECT_EQ(got.y2, expected[i].y2) << i;
    EXPECT_EQ(got.content, expected[i].content) << i;
  }
  EXPECT_EQ(game.score, 1);
  EXPECT_EQ(game.speed, 0);
  EXPECT_EQ(game.spanPosition, -2900);
  EXPECT_EQ(game.scrollPhase, 0);
}

using SpanLine = GameFixture;

TEST_F(SpanLine, IsLowestMidSpanAndHighestAtAPost) {
  auto spanY = [&](int32_t position) {
    game.spanPosition = position;
    game.score = 0;  // speed 0: the position stays put during the step
    Step();
    // The first full-width line after the five lines of the frame.
    for (size_t i = 5; i < surface.draws.size(); ++i)
      if (surface.draws[i].x1 == 80 && surface.draws[i].x2 == 560) return surface.draws[i].y1;
    return -1;
  };
  EXPECT_EQ(spanY(0), 140);
  EXPECT_EQ(spanY(3000), 86);
  EXPECT_EQ(spanY(-3000 + 1), 86);
  EXPECT_EQ(spanY(-1500), 128);
}

TEST_F(SpanLine, PostLinesOnTheEdgesOfThePlayfieldAreNotDrawn) {
  // The post behind is centred on 320 - q with q = (position + halfSpan) / 2: its lines
  // fall on 352 - q and 288 - q. Put the left line exactly on x = 80, then the right on 560.
  auto postLines = [&](int32_t position) {
    game.spanPosition = position;
    game.score = 0;
    Step();
    std::vector<int32_t> xs;
    for (const Draw& d : surface.draws)
      if (!d.text && d.y1 == 60 && d.y2 == 280) xs.push_back(d.x1);
    return xs;
  };
  EXPECT_EQ(postLines(2 * 208 - 3000), std::vector<int32_t>{144});   // 288 - 208 = 80 skipped
  EXPECT_EQ(postLines(2 * -208 - 3000), std::vector<int32_t>{496});  // 352 + 208 = 560 skipped
  EXPECT_EQ(postLines(2 * 207 - 3000), (std::vector<int32_t>{145, 81}));
  // 200 units short of the post ahead: q = -100, its lines at 452 and 388.
  EXPECT_EQ(postLines(3000 - 200), (std::vector<int32_t>{452, 388}));
}

using Sleepers = GameFixture;

TEST_F(Sleepers, MoveByHalfTheSpeedAndWrapOnlyAbove160) {
  // A score of 100 gives a speed of 10; the sleepers are drawn after the advance.
  auto sleepers = [&](int32_t phase) {
    game.score = 100;
    game.scrollPhase = phase;
    Step();
    std::vector<int32_t> xs;
    for (const Draw& d : surface.draws)
      if (!d.text && d.y1 == 280 && d.y2 == 400) xs.push_back(d.x1);
    return xs;
  };
  EXPECT_EQ(sleepers(148), (std::vector<int32_t>{481, 401, 321, 241, 161, 81}));
  EXPECT_EQ(game.scrollPhase, 158);
  EXPECT_EQ(sleepers(150), (std::vector<int32_t>{480, 400, 320, 240, 160}));  // 160 stays
  EXPECT_EQ(game.scrollPhase, 160);
  EXPECT_EQ(sleepers(151), (std::vector<int32_t>{560, 480, 400, 320, 240, 160}));  // 161 wraps
  EXPECT_EQ(game.scrollPhase, 1);
}

using Jumps = GameFixture;

TEST_F(Jumps, FigureFollowsTheJumpCurveAndHoldingZJumpsOnce) {
  // Height of "mE" by the timer left after the step; the curve is symmetric about 15.
  const int32_t height[16] = {264, 260, 257, 255, 252, 250, 248, 246,
                              244, 243, 241, 240, 240, 239, 239, 239};
  for (int i = 29; i >= 0; --i) {
    Step(true);  // held all the way: the press step starts the jump, no second jump follows
    EXPECT_EQ(game.jumpTimer, i);
    EXPECT_EQ(surface.FindText("mE")->y1, height[i <= 15 ? i : 30 - i]) << i;
  }
  for (int i = 0; i < 5; ++i) Step(true);
  EXPECT_EQ(game.jumpTimer, 0) << "a held key gives one jump";
  Step(false);
  Step(true);
  EXPECT_EQ(game.jumpTimer, 29) << "released and pressed again";
}

TEST_F(Jumps, PassageSurvivesWithTimerFiveToTwentyFiveOnly) {
  for (const int32_t timer : {4, 5, 25, 26}) {
    SetRunStartValues(game);
    game.score = 500;                        // speed 50
    game.spanPosition = game.halfSpan - 10;  // the post is passed in this step
    game.jumpTimer = timer;
    Step();
    EXPECT_EQ(game.dead, (timer == 4 || timer == 26) ? 1 : 0) << timer;
    EXPECT_GE(game.halfSpan, 2500);
    EXPECT_LE(game.halfSpan, 3499);
  }
  // Exactly on halfSpan is not yet a passage.
  SetRunStartValues(game);
  game.spanPosition = game.halfSpan;
  Step();
  EXPECT_EQ(game.dead, 0);
  EXPECT_EQ(game.halfSpan, 3000);
}

using Restart = GameFixture;

TEST_F(Restart, XRestartsOnlyWhenDeadAndOnlyOnItsFirstStep) {
  Step(false, true);
  EXPECT_EQ(game.score, 1) << "X while alive does nothing";
  StepUntilDead(400);
  ASSERT_EQ(game.dead, 1);
  const int32_t deadScore = game.score;
  const int32_t deadSpeed = game.speed;
  Step(true);  // Z while dead: a jump, but no figure drawn
  EXPECT_EQ(surface.FindText("mE"), nullptr);
  EXPECT_NE(surface.FindText("yOU'rE dEAd."), nullptr);
  EXPECT_EQ(game.score, deadScore);

  Step(false, true);
  // The head-up text still shows the dead run; the rest belongs to the fresh one.
  EXPECT_EQ(surface.FindText("trAIn")->content, "trAIn spEEd : " + std::to_string(deadSpeed) +
                                                    "k/h   scOrE : " + std::to_string(deadScore) +
                                                    "pts.");
  EXPECT_EQ(surface.FindText("yOU'rE dEAd."), nullptr);
  EXPECT_NE(surface.FindText("mE"), nullptr);
  EXPECT_EQ(game.dead, 0);
  EXPECT_EQ(game.score, 0);
  EXPECT_EQ(game.spanPosition, -2900);
  EXPECT_EQ(game.scrollPhase, 0);
  Step(false, true);  // X still held: no second restart, the score counts
  EXPECT_EQ(game.score, 1);
}

TEST_F(Restart, ScoreWrapsWithoutOverflowAfterTwoToTheThirtyOneSteps) {
  game.score = INT_MAX;
  Step();
  EXPECT_EQ(game.score, INT_MIN);
  EXPECT_NE(surface.FindText("trAIn spEEd : 0k/h   scOrE : 2147483647pts."), nullptr);
  Step();
  EXPECT_LT(game.speed, 0);  // the curve of a wrapped score: defined, if odd
  EXPECT_LT(game.scrollPhase, 0);
}

}  // namespace
}  // namespace vtrak::testing
