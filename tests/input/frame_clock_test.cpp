// The frames-per-second window on the millisecond clock.
#include <gtest/gtest.h>

#include "input_fixture.h"

namespace vtrak {
namespace {

// Polls once at each time given.
void PollAt(InputFixture& f, std::initializer_list<uint32_t> times) {
  for (uint32_t t : times) {
    f.clock.now = t;
    f.Poll();
  }
}

TEST(FrameClock, WindowClosesOnlyAfterMoreThan1000Ms) {
  InputFixture f(10000);
  ASSERT_EQ(f.Init(), S_OK);
  EXPECT_EQ(f.state.secondStart, 10000u);
  PollAt(f, {10100, 10500, 11000});
  EXPECT_EQ(f.state.framesPerSecond, 60);  // exactly 1000 ms does not close it
  EXPECT_EQ(f.state.frameCount, 3);
  PollAt(f, {11001});
  EXPECT_EQ(f.state.framesPerSecond, 4);  // the closing poll counts in its window
  EXPECT_EQ(f.state.frameCount, 0);
  EXPECT_EQ(f.state.secondStart, 11000u);
  EXPECT_EQ(f.state.totalFrames, 4);
  PollAt(f, {11500, 12001});
  EXPECT_EQ(f.state.framesPerSecond, 2);
  EXPECT_EQ(f.state.secondStart, 12000u);
}

TEST(FrameClock, StallMovesTheWindowOnByWholeSeconds) {
  InputFixture f(10000);
  ASSERT_EQ(f.Init(), S_OK);
  PollAt(f, {10010, 10020, 13500});  // a 3.5 s stall
  EXPECT_EQ(f.state.framesPerSecond, 3);
  EXPECT_EQ(f.state.secondStart, 13000u);
  PollAt(f, {14000});
  EXPECT_EQ(f.state.framesPerSecond, 3);
  PollAt(f, {14001});  // half a second after the stall
  EXPECT_EQ(f.state.framesPerSecond, 2);
  EXPECT_EQ(f.state.secondStart, 14000u);
}

TEST(FrameClock, SecondReadingSetsHowFarTheWindowMoves) {
  InputFixture f(10000);
  ASSERT_EQ(f.Init(), S_OK);
  f.clock.now = 11999;
  f.clock.advancePerRead = 2;  // the second reading is 12001
  f.Poll();
  EXPECT_EQ(f.state.secondStart, 12000u);
}

TEST(FrameClock, WindowsSpanningTheWrapOfTheClockCloseOnTime) {
  // The window's end lies past the wrap: a poll before the wrap must not close it.
  InputFixture f(0xFFFFFF00u);
  ASSERT_EQ(f.Init(), S_OK);
  PollAt(f, {0xFFFFFF80u, 0xFFFFFFFFu, 0x0u, 0x2E8u});  // 0x2E8: exactly 1000 ms
  EXPECT_EQ(f.state.framesPerSecond, 60);
  PollAt(f, {0x2E9u});
  EXPECT_EQ(f.state.framesPerSecond, 5);
  EXPECT_EQ(f.state.secondStart, 0x2E8u);

  // The window starts before the wrap and ends after it.
  InputFixture g(0xFFFFFE00u);
  ASSERT_EQ(g.Init(), S_OK);
  PollAt(g, {0xFFFFFFF0u, 0x100u});
  EXPECT_EQ(g.state.framesPerSecond, 60);
  PollAt(g, {0x1E9u});
  EXPECT_EQ(g.state.framesPerSecond, 3);
  EXPECT_EQ(g.state.secondStart, 0x1E8u);
}

TEST(FrameClock, FailedSetUpStartsTheFirstWindowOneSecondLate) {
  InputFixture f(10000);
  f.devices.failingCalls.insert("CreateDevice(SysKeyboard)");
  ASSERT_EQ(f.Init(), E_FAIL);
  EXPECT_EQ(f.state.framesPerSecond, 0);
  EXPECT_EQ(f.state.secondStart, 11000u);
  PollAt(f, {10500, 11500, 12000});
  EXPECT_EQ(f.state.framesPerSecond, 0);
  PollAt(f, {12001});
  EXPECT_EQ(f.state.framesPerSecond, 4);
  EXPECT_EQ(f.state.secondStart, 12000u);
}

}  // namespace
}  // namespace vtrak
