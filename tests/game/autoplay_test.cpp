// The simulator's player asks for Z when the coming post will be passed 5 to 15
// steps on, the coming step counted as 0: well inside the 5..25 steps after a
// press in which a post is cleared.
#include "game/autoplay.h"

#include "tests/game/game_fixture.h"

namespace vtrak::testing {
namespace {

using Autoplay = GameFixture;

TEST_F(Autoplay, AsksForZFrom15To5StepsBeforeThePost) {
  // With no key the first post is passed in step 349.
  std::vector<int> asked;
  for (int step = 1; step <= 349; ++step) {
    if (AutoplayWantsJump(game)) asked.push_back(step);
    Step();
  }
  ASSERT_EQ(game.dead, 1);
  std::vector<int> expected;
  for (int step = 334; step <= 344; ++step) expected.push_back(step);
  EXPECT_EQ(asked, expected);
}

TEST_F(Autoplay, FollowsTheSpeedStepByStepAndNeverAsksInTheAirOrWhenDead) {
  // Scores 10 to 19 give a speed of 1, 20 on a speed of 2. From 2978 of 3000 the
  // figure reaches the post exactly after 16 steps and passes it only in the 17th.
  game.score = 10;
  game.spanPosition = 2978;
  EXPECT_FALSE(AutoplayWantsJump(game));
  Step();  // now it passes in the 16th step
  EXPECT_TRUE(AutoplayWantsJump(game));
  game.jumpTimer = 1;
  EXPECT_FALSE(AutoplayWantsJump(game));
  game.jumpTimer = 0;
  game.dead = 1;
  EXPECT_FALSE(AutoplayWantsJump(game));
}

}  // namespace
}  // namespace vtrak::testing
