// The soak's checker must see what it is there to see: each broken rule in a
// trace is reported, and a sound trace passes.
#include "tests/soak/step_invariants.h"

#include <gtest/gtest.h>

namespace vtrak::soak {
namespace {

// Two sound steps of a fresh run, then `last` as step 3.
std::string CheckAfterStart(const StepRow& last, bool deathAllowed = false) {
  StepInvariants invariants(deathAllowed);
  EXPECT_EQ(invariants.Check({1, 0, 1, -2900, 3000, 0, 0, 0}), "");
  EXPECT_EQ(invariants.Check({2, 0, 2, -2900, 3000, 0, 0, 0}), "");
  return invariants.Check(last);
}

TEST(StepInvariants, ReportsEveryBrokenRule) {
  EXPECT_EQ(CheckAfterStart({3, 0, 3, -2900, 3000, 0, 0, 0}), "");
  EXPECT_NE(CheckAfterStart({4, 0, 3, -2900, 3000, 0, 0, 0}), "");    // a step skipped
  EXPECT_NE(CheckAfterStart({3, 161, 3, -2900, 3000, 0, 0, 0}), "");  // speed
  EXPECT_NE(CheckAfterStart({3, -1, 3, -2900, 3000, 0, 0, 0}), "");
  EXPECT_NE(CheckAfterStart({3, 0, 3, -2900, 3000, 161, 0, 0}), "");  // scrollPhase
  EXPECT_NE(CheckAfterStart({3, 0, 3, -2900, 3001, 0, 0, 0}), "");    // halfSpan before a post
  EXPECT_NE(CheckAfterStart({3, 0, 3, 3001, 3000, 0, 0, 0}), "");     // spanPosition
  EXPECT_NE(CheckAfterStart({3, 0, 3, -3000, 3000, 0, 0, 0}), "");
  EXPECT_NE(CheckAfterStart({3, 0, 4, -2900, 3000, 0, 0, 0}), "");   // score count
  EXPECT_NE(CheckAfterStart({3, 0, 3, -2900, 3000, 0, 0, 30}), "");  // jumpTimer
  EXPECT_NE(CheckAfterStart({3, 0, 3, -2900, 3000, 0, 1, 0}), "");   // death
  EXPECT_EQ(CheckAfterStart({3, 0, 3, -2900, 3000, 0, 1, 0}, true), "");
}

TEST(StepInvariants, FollowsPostsDeathsAndRestarts) {
  StepInvariants invariants(/*deathAllowed=*/true);
  EXPECT_EQ(invariants.Check({1, 0, 1, -2900, 3000, 0, 0, 0}), "");
  EXPECT_EQ(invariants.Check({2, 34, 2, 2990, 3000, 34, 0, 0}), "");
  // A post passed: a new span of 2500..3499, the run lost.
  EXPECT_EQ(invariants.Check({3, 34, 3, -2700, 2724, 68, 1, 0}), "");
  EXPECT_NE(invariants.Check({4, 34, 4, -2666, 2724, 102, 1, 0}), "");  // the score moved
  EXPECT_EQ(invariants.Check({4, 34, 3, -2666, 2724, 102, 1, 0}), "");
  EXPECT_NE(invariants.Check({5, 34, 3, -2632, 2499, 136, 1, 0}), "");  // halfSpan too short
  EXPECT_EQ(invariants.Check({5, 0, 0, -2900, 3000, 0, 0, 0}), "");     // X: a fresh run
  EXPECT_EQ(invariants.counts().postsPassed, 1);
  EXPECT_EQ(invariants.counts().deaths, 1);
  EXPECT_EQ(invariants.counts().restarts, 1);
}

TEST(StepInvariants, ReadsTraceRows) {
  StepRow row{};
  ASSERT_TRUE(ParseStepRow("12,1,12,-2889,3000,12,0,0\n", row));
  EXPECT_EQ(row.step, 12);
  EXPECT_EQ(row.spanPosition, -2889);
  EXPECT_FALSE(ParseStepRow("12,1,12,-2889,3000,12,0\n", row));
  EXPECT_FALSE(ParseStepRow("12,1,12,-2889,3000,12,0,0,7\n", row));
}

}  // namespace
}  // namespace vtrak::soak
