// The keyboard's hold counters as the game reads them: Z jumps on a press.
#include <gtest/gtest.h>

#include "input_fixture.h"

namespace vtrak {
namespace {

TEST(KeyboardPoll, HoldCounterCountsUpWhileDownAndZeroesOnRelease) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  std::vector<int32_t> held;
  std::vector<bool> pressed;
  for (int poll = 1; poll <= 6; ++poll) {
    f.devices.keys[DIK_Z] = poll <= 5 ? 0x80 : 0x00;
    f.Poll();
    held.push_back(f.state.keyHoldFrames[DIK_Z]);
    pressed.push_back(f.Pressed(DIK_Z));
  }
  EXPECT_EQ(held, (std::vector<int32_t>{1, 2, 3, 4, 5, 0}));
  EXPECT_EQ(pressed, (std::vector<bool>{true, false, false, false, false, false}));
  EXPECT_EQ(f.state.keyHoldFrames[DIK_X], 0);
}

TEST(KeyboardPoll, LongHoldIsOnePressAndEachNewPressCountsAgain) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  int presses = 0;
  for (int poll = 0; poll < 300; ++poll) {
    // Down for 100 polls, up for 50, down again for 150.
    f.devices.keys[DIK_X] = (poll < 100 || poll >= 150) ? 0x80 : 0x00;
    f.Poll();
    presses += f.Pressed(DIK_X) ? 1 : 0;
  }
  EXPECT_EQ(presses, 2);
  EXPECT_EQ(f.state.keyHoldFrames[DIK_X], 150);
}

TEST(KeyboardPoll, KeyDownAtFirstPollIsPressedThere) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  f.devices.keys[DIK_Z] = 0x80;
  f.devices.keys[0xC8] = 0x80;  // up arrow
  f.Poll();
  EXPECT_TRUE(f.Pressed(DIK_Z));
  EXPECT_EQ(f.state.keyHoldFrames[0xC8], 1);
  int32_t others = 0;
  for (int key = 0; key < kHoldCounterCount; ++key) {
    if (key != DIK_Z && key != 0xC8) others += f.state.keyHoldFrames[key];
  }
  EXPECT_EQ(others, 0);
}

TEST(KeyboardPoll, KeyPressedAndReleasedBetweenPollsIsNeverSeen) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  f.Poll();
  f.devices.keys[DIK_Z] = 0x80;  // down and up again before the next poll
  f.devices.keys[DIK_Z] = 0x00;
  f.Poll();
  EXPECT_EQ(f.state.keyState[DIK_Z], 0);
  EXPECT_EQ(f.state.keyHoldFrames[DIK_Z], 0);
}

TEST(KeyboardPoll, UnacquirableKeyboardKeepsItsLastSnapshot) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  f.devices.keys[DIK_Z] = 0x80;
  f.Poll();
  // Another window takes the foreground: Z goes up and X down meanwhile.
  f.devices.keyboardAcquirable = false;
  f.devices.keys[DIK_Z] = 0x00;
  f.devices.keys[DIK_X] = 0x80;
  f.Poll();
  f.Poll();
  EXPECT_EQ(f.state.keyState[DIK_Z], 0x80);
  EXPECT_EQ(f.state.keyHoldFrames[DIK_Z], 3);
  EXPECT_EQ(f.state.keyHoldFrames[DIK_X], 0);
  // Back in the foreground the keyboard is read again.
  f.devices.keyboardAcquirable = true;
  f.Poll();
  EXPECT_EQ(f.state.keyHoldFrames[DIK_Z], 0);
  EXPECT_TRUE(f.Pressed(DIK_X));
}

TEST(KeyboardPoll, RequestedFileIsCopiedWhenNewAndNonEmpty) {
  InputFixture f;
  ASSERT_EQ(f.Init("a.ogg"), S_OK);
  EXPECT_STREQ(f.state.requestedFile, "a.ogg");
  f.Poll("");
  EXPECT_STREQ(f.state.requestedFile, "a.ogg");
  f.Poll(nullptr);
  EXPECT_STREQ(f.state.requestedFile, "a.ogg");
  f.Poll("/home/player/b.wav");
  EXPECT_STREQ(f.state.requestedFile, "/home/player/b.wav");
  // A path longer than the copy is cut to fit, never written past its end.
  const std::string longPath(2000, 'p');
  f.Poll(longPath.c_str());
  EXPECT_EQ(std::string(f.state.requestedFile), longPath.substr(0, kRequestedFileSize - 1));
}

}  // namespace
}  // namespace vtrak
