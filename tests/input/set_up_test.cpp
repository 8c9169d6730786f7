// Set-up, the joystick and mouse steps of the poll, missing devices and release.
#include <gtest/gtest.h>

#include <algorithm>

#include "input_fixture.h"
#include "platform/core/crt_rand.h"

namespace vtrak {
namespace {

int32_t AxisSum(const DIJOYSTATE2& j) {
  int32_t sum = 0;
  for (int32_t axis :
       {j.lX,  j.lY,  j.lZ,  j.lRx,  j.lRy,  j.lRz,  j.lVX, j.lVY, j.lVZ, j.lVRx, j.lVRy, j.lVRz,
        j.lAX, j.lAY, j.lAZ, j.lARx, j.lARy, j.lARz, j.lFX, j.lFY, j.lFZ, j.lFRx, j.lFRy, j.lFRz}) {
    sum += axis < 0 ? -axis : axis;
  }
  return sum;
}

// Set-up starts from every key up, whatever the record saw before: without
// the foreground a poll sees no key down until the keyboard is read, and
// then a key already down is pressed there.
TEST(SetUp, KeysReadUpUntilTheKeyboardIsFirstRead) {
  InputFixture f;
  std::fill_n(f.devices.keys, kKeyCount, uint8_t{0x80});
  ASSERT_EQ(f.Init(), S_OK);
  f.Poll();  // every key down
  ReleaseInput(f.state);
  f.devices.keyboardAcquirable = false;
  ASSERT_EQ(f.Init(), S_OK);
  f.Poll();
  for (int key = 0; key < kKeyCount; ++key) {
    EXPECT_EQ(f.state.keyState[key] | f.state.keyHoldFrames[key], 0) << key;
  }
  f.devices.keyboardAcquirable = true;
  f.Poll();
  EXPECT_TRUE(f.Pressed(DIK_Z));
}

TEST(SetUp, TakesTheFirstControllerThatOpensAndSeedsFromTheClock) {
  InputFixture f(123456);
  ScriptedJoystick unopenable;
  unopenable.creatable = false;
  ScriptedJoystick pad;
  pad.axisCount = 3;
  pad.buttonCount = 2;
  pad.povCount = 1;
  f.devices.joysticks = {unopenable, pad, ScriptedJoystick{}};
  crt::srand(1);
  ASSERT_EQ(f.Init("x.ogg"), S_OK);
  // The player's devices: the keyboard, the mouse and the first controller
  // that opens, whose finding is asked about once.
  EXPECT_TRUE(f.state.keyboard && f.state.mouse && f.state.joystick);
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0], "\xE8\xAA\x8D\xE8\xAD\x98\xEF\xBC\x9F");  // 認識？
  for (int axis = 0; axis < 3; ++axis) {
    EXPECT_EQ(f.devices.joysticks[1].rangeMin[axis], -6);
    EXPECT_EQ(f.devices.joysticks[1].rangeMax[axis], 6);
  }
  EXPECT_EQ(f.devices.joysticks[2].rangeMax[0], 65535);  // the third was never opened
  const int seeded = crt::rand();
  crt::srand(123456);
  EXPECT_EQ(seeded, crt::rand());
  EXPECT_EQ(f.state.framesPerSecond, 60);
  EXPECT_EQ(f.state.secondStart, 123456u);
}

TEST(SetUp, FirstFailingStepEndsSetUpAndLeavesTheGeneratorUnseeded) {
  const struct {
    const char* failing;
    bool keyboard, mouse;
  } cases[] = {
      {"CreateDevice(SysKeyboard)", false, false},  {"keyboard.SetDataFormat", true, false},
      {"CreateDevice(SysMouse)", true, false},      {"mouse.SetDataFormat", true, true},
      {"keyboard.SetCooperativeLevel", true, true}, {"EnumDevices", true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    InputFixture f;
    f.devices.joysticks.resize(1);
    f.devices.failingCalls.insert(c.failing);
    crt::srand(1);
    EXPECT_EQ(f.Init(), E_FAIL);
    EXPECT_EQ(crt::rand(), 41);  // still the unseeded sequence
    EXPECT_EQ(f.devices.calls.back(), c.failing);
    EXPECT_EQ(static_cast<bool>(f.state.keyboard), c.keyboard);
    EXPECT_EQ(static_cast<bool>(f.state.mouse), c.mouse);
    EXPECT_FALSE(f.state.joystick);
    EXPECT_TRUE(f.messages.empty());
  }
}

TEST(SetUp, JoystickStepsFailOrStopAsTold) {
  InputFixture f;
  f.devices.joysticks.resize(1);
  f.devices.failingCalls = {"joystick.SetDataFormat"};
  EXPECT_EQ(f.Init(), E_FAIL);
  EXPECT_EQ(f.messages.size(), 1u);  // the box comes before the format

  // A failing range stops the axes' enumeration, yet set-up succeeds.
  InputFixture g;
  g.devices.joysticks.resize(1);
  g.devices.joysticks[0].axisCount = 4;
  g.devices.failingCalls = {"joystick.SetProperty", "keyboard.Acquire", "joystick.Acquire"};
  EXPECT_EQ(g.Init(), S_OK);
  EXPECT_EQ(std::count(g.devices.calls.begin(), g.devices.calls.end(), "joystick.SetProperty"), 1);
}

TEST(SetUp, NoJoystickMeansNoMessageNoJoystickCallsAndZeroAxes) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  for (int poll = 0; poll < 5; ++poll) f.Poll();
  EXPECT_TRUE(f.messages.empty());
  EXPECT_FALSE(f.state.joystick);
  EXPECT_FALSE(f.devices.AnyJoystickCall());
  EXPECT_EQ(AxisSum(f.state.joystickState), 0);
  for (int n = 0; n < kCountedJoystickButtons; ++n) {
    EXPECT_EQ(f.state.keyHoldFrames[kJoystickButtonCounterBase + n], 0);
  }
}

TEST(JoystickPoll, ButtonsCountAndAxesClearWhenNotRead) {
  InputFixture f;
  f.devices.joysticks.resize(1);
  ASSERT_EQ(f.Init(), S_OK);
  ScriptedJoystick& pad = f.devices.joysticks[0];
  pad.state.lX = -6;
  pad.state.lY = 6;
  pad.state.rgbButtons[0] = 0x80;
  pad.state.rgbButtons[31] = 0x80;
  pad.state.rgbButtons[32] = 0x80;  // beyond the counted buttons
  f.Poll();
  f.Poll();
  EXPECT_EQ(f.state.joystickState.lX, -6);
  EXPECT_EQ(f.state.joystickState.lY, 6);
  EXPECT_EQ(f.state.keyHoldFrames[256], 2);
  EXPECT_EQ(f.state.keyHoldFrames[287], 2);
  EXPECT_EQ(f.state.keyHoldFrames[288], 0);
  // Lost: axes read 0, the buttons keep their last snapshot and keep counting.
  pad.acquirable = false;
  pad.state.rgbButtons[0] = 0;
  f.Poll();
  EXPECT_EQ(AxisSum(f.state.joystickState), 0);
  EXPECT_EQ(f.state.keyHoldFrames[256], 3);
}

TEST(MousePoll, CursorMovesByMotionClampedInclusive) {
  InputFixture f;
  ASSERT_EQ(f.Init(), S_OK);
  f.devices.mouseMotionX = 50;
  f.Poll();  // unacquired after set-up: this read fails and acquires it
  EXPECT_EQ(f.state.cursorX, 320);
  EXPECT_EQ(f.devices.calls.back(), "mouse.Acquire");
  f.devices.mouseMotionX = 320;
  f.devices.mouseMotionY = 240;
  f.Poll();
  EXPECT_EQ(f.state.cursorX, 640);
  EXPECT_EQ(f.state.cursorY, 480);
  f.devices.mouseMotionX = 1000;
  f.devices.mouseMotionY = 1000;
  f.Poll();
  EXPECT_EQ(f.state.cursorX, 640);
  EXPECT_EQ(f.state.cursorY, 480);
  f.devices.mouseMotionX = -1000;
  f.devices.mouseMotionY = INT32_MIN;
  f.Poll();
  EXPECT_EQ(f.state.cursorX, 0);
  EXPECT_EQ(f.state.cursorY, 0);
  f.devices.mouseMotionX = INT32_MAX;
  f.Poll();
  EXPECT_EQ(f.state.cursorX, 640);
}

TEST(MissingDevices, PollSkipsThemAndTheirStateReadsZero) {
  InputFixture f;
  f.devices.failingCalls.insert("CreateDevice(SysKeyboard)");
  ASSERT_EQ(f.Init(), E_FAIL);
  f.state.keyState[DIK_Z] = 0x80;  // whatever was there before
  f.state.mouseState.lX = 7;
  f.devices.keys[DIK_Z] = 0x80;
  f.devices.mouseMotionX = 100;
  f.Poll();
  f.Poll();
  EXPECT_EQ(f.state.keyState[DIK_Z], 0);
  EXPECT_EQ(f.state.keyHoldFrames[DIK_Z], 0);
  EXPECT_EQ(f.state.mouseState.lX, 0);
  EXPECT_EQ(f.state.totalFrames, 2);
}

TEST(Release, ReleasesEachOnceInOrderAndASecondCallDoesNothing) {
  InputFixture f;
  f.devices.joysticks.resize(1);
  ASSERT_EQ(f.Init(), S_OK);
  f.devices.calls.clear();
  ReleaseInput(f.state);
  ReleaseInput(f.state);
  EXPECT_EQ(f.devices.calls, (std::vector<std::string>{"Release", "joystick.Release",
                                                       "keyboard.Release", "mouse.Release"}));
  EXPECT_FALSE(f.state.directInput || f.state.keyboard || f.state.mouse || f.state.joystick);
}

}  // namespace
}  // namespace vtrak
