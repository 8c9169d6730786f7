// The SDL device stand-ins on the dummy video driver, and the key code table.
#include "platform/input/sdl_devices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "input/input_state.h"
#include "platform/input/sdl_input.h"
#include "platform/input/sdl_key_codes.h"
#include "platform/window/window.h"

namespace vtrak {
namespace {

TEST(KeyCodes, EveryKeyCodeComesFromExactlyOneScancode) {
  std::map<int, std::set<int>> scancodesOf;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const uint8_t dik = DikFromScancode(static_cast<SDL_Scancode>(scancode));
    if (dik != 0) scancodesOf[dik].insert(scancode);
  }
  for (const auto& [dik, scancodes] : scancodesOf) {
    SCOPED_TRACE(dik);
    if (dik == 0xB7) {  // PrintScreen, which some keyboard tables call SysReq
      EXPECT_EQ(scancodes, (std::set<int>{SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_SYSREQ}));
    } else {
      EXPECT_EQ(scancodes.size(), 1u);
    }
  }
  EXPECT_EQ(scancodesOf.size(), 135u);  // the keys of a PC keyboard with a DirectInput code
  const std::map<SDL_Scancode, int> expected = {{SDL_SCANCODE_Z, 0x2C},
                                                {SDL_SCANCODE_X, 0x2D},
                                                {SDL_SCANCODE_UP, 0xC8},
                                                {SDL_SCANCODE_DOWN, 0xD0},
                                                {SDL_SCANCODE_LEFT, 0xCB},
                                                {SDL_SCANCODE_RIGHT, 0xCD},
                                                {SDL_SCANCODE_LSHIFT, 0x2A},
                                                {SDL_SCANCODE_RSHIFT, 0x36},
                                                {SDL_SCANCODE_LCTRL, 0x1D},
                                                {SDL_SCANCODE_RCTRL, 0x9D},
                                                {SDL_SCANCODE_LALT, 0x38},
                                                {SDL_SCANCODE_RALT, 0xB8},
                                                {SDL_SCANCODE_PAUSE, 0xC5},
                                                {SDL_SCANCODE_PRINTSCREEN, 0xB7},
                                                {SDL_SCANCODE_KP_0, 0x52},
                                                {SDL_SCANCODE_KP_1, 0x4F},
                                                {SDL_SCANCODE_KP_5, 0x4C},
                                                {SDL_SCANCODE_KP_9, 0x49},
                                                {SDL_SCANCODE_KP_PERIOD, 0x53},
                                                {SDL_SCANCODE_KP_ENTER, 0x9C},
                                                {SDL_SCANCODE_KP_DIVIDE, 0xB5},
                                                {SDL_SCANCODE_KP_MULTIPLY, 0x37},
                                                {SDL_SCANCODE_KP_MINUS, 0x4A},
                                                {SDL_SCANCODE_KP_PLUS, 0x4E},
                                                {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
                                                {SDL_SCANCODE_RETURN, 0x1C},
                                                {SDL_SCANCODE_ESCAPE, 0x01},
                                                {SDL_SCANCODE_SPACE, 0x39},
                                                {SDL_SCANCODE_F1, 0x3B},
                                                {SDL_SCANCODE_F12, 0x58},
                                                {SDL_SCANCODE_HOME, 0xC7},
                                                {SDL_SCANCODE_DELETE, 0xD3},
                                                {SDL_SCANCODE_LGUI, 0xDB},
                                                {SDL_SCANCODE_APPLICATION, 0xDD}};
  for (const auto& [scancode, dik] : expected) {
    EXPECT_EQ(DikFromScancode(scancode), dik) << SDL_GetScancodeName(scancode);
  }
  EXPECT_EQ(DikFromScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(DikFromScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

TEST(JoystickValues, AxesScaleToTheRangeAndHatsToHundredthsOfADegree) {
  EXPECT_EQ(ScaleAxis(-32768, -6, 6), -6);
  EXPECT_EQ(ScaleAxis(0, -6, 6), 0);
  EXPECT_EQ(ScaleAxis(-1, -6, 6), 0);
  EXPECT_EQ(ScaleAxis(32767, -6, 6), 6);
  EXPECT_EQ(ScaleAxis(16384, -6, 6), 3);
  EXPECT_EQ(ScaleAxis(32767, 0, 65535), 65535);
  EXPECT_EQ(ScaleAxis(-32768, INT32_MIN, INT32_MAX), INT32_MIN);
  EXPECT_EQ(ScaleAxis(32767, INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(HatAngle(SDL_HAT_CENTERED), 0xFFFFFFFFu);
  EXPECT_EQ(HatAngle(SDL_HAT_UP), 0u);
  EXPECT_EQ(HatAngle(SDL_HAT_RIGHT), 9000u);
  EXPECT_EQ(HatAngle(SDL_HAT_LEFTDOWN), 22500u);
  EXPECT_EQ(HatAngle(SDL_HAT_LEFTUP), 31500u);
}

class SdlDevices : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
  static void TearDownTestSuite() { SDL_Quit(); }
  void SetUp() override {
    window = Window::Create("dolk", "V-TRAK");
    ASSERT_TRUE(window);
    ASSERT_EQ(CreateSdlDirectInput(directInput), DI_OK);
  }

  std::unique_ptr<Window> window;
  std::unique_ptr<DirectInput8> directInput;
};

TEST_F(SdlDevices, ForegroundKeyboardIsNotAcquiredWithoutTheFocus) {
  std::unique_ptr<DirectInputDevice8> keyboard;
  ASSERT_EQ(directInput->CreateDevice(Guid{DeviceGuid::SysKeyboard}, keyboard), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
  ASSERT_EQ(keyboard->SetDataFormat(DataFormat::Keyboard), DI_OK);
  ASSERT_EQ(keyboard->SetCooperativeLevel(window.get(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
            DI_OK);
  ASSERT_FALSE(window->HasKeyboardFocus());  // the dummy driver never gives it
  EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
  uint8_t keys[256];
  std::fill(std::begin(keys), std::end(keys), 0x80);
  EXPECT_EQ(keyboard->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
  EXPECT_EQ(std::count(std::begin(keys), std::end(keys), 0), 256);

  // At the background level the keyboard reads, with every key up.
  ASSERT_EQ(keyboard->SetCooperativeLevel(window.get(), DISCL_NONEXCLUSIVE), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), S_FALSE);
  std::fill(std::begin(keys), std::end(keys), 0x80);
  EXPECT_EQ(keyboard->GetDeviceState(256, keys), DI_OK);
  EXPECT_EQ(std::count(std::begin(keys), std::end(keys), 0), 256);
  EXPECT_EQ(keyboard->GetDeviceState(20, keys), DIERR_INVALIDPARAM);
}

TEST_F(SdlDevices, MouseFailsItsFirstReadUntilAcquired) {
  std::unique_ptr<DirectInputDevice8> mouse;
  ASSERT_EQ(directInput->CreateDevice(Guid{DeviceGuid::SysMouse}, mouse), DI_OK);
  ASSERT_EQ(mouse->SetDataFormat(DataFormat::Mouse2), DI_OK);
  DIMOUSESTATE2 state{5, 5, 5, {1, 1, 1, 1, 1, 1, 1, 1}};
  EXPECT_EQ(mouse->GetDeviceState(sizeof(state), &state), DIERR_NOTACQUIRED);
  EXPECT_EQ(state.lX, 0);  // a failed read reports no motion
  EXPECT_EQ(state.lY, 0);
  EXPECT_EQ(mouse->Acquire(), DI_OK);
  state.lX = 9;
  EXPECT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(state.lX, 0);
}

TEST_F(SdlDevices, VirtualControllerBecomesTheJoystick) {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 6, 2);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  ASSERT_NE(pad, nullptr);

  SystemClock clock;
  InputState state(clock);
  std::vector<std::string> messages;
  InputServices services{&clock, CreateSdlDirectInput,
                         [&](const char* text) { messages.emplace_back(text); }};
  ASSERT_EQ(InitInput(state, "", window.get(), services), S_OK);
  ASSERT_TRUE(state.joystick);
  EXPECT_EQ(messages.size(), 1u);

  SDL_JoystickSetVirtualAxis(pad, 0, -32768);
  SDL_JoystickSetVirtualAxis(pad, 1, 32767);
  SDL_JoystickSetVirtualAxis(pad, 2, 0);
  SDL_JoystickSetVirtualButton(pad, 5, SDL_PRESSED);
  SDL_JoystickSetVirtualHat(pad, 0, SDL_HAT_RIGHTDOWN);
  SDL_JoystickUpdate();
  PollInput(state, "", clock);
  const DIJOYSTATE2& joy = state.joystickState;
  EXPECT_EQ(joy.lX, -6);
  EXPECT_EQ(joy.lY, 6);
  EXPECT_EQ(joy.lZ, 0);
  EXPECT_EQ(joy.rgbButtons[5], 0x80);
  EXPECT_EQ(joy.rgbButtons[0], 0);
  EXPECT_EQ(joy.rgdwPOV[0], 13500u);
  EXPECT_EQ(joy.rgdwPOV[1], 0xFFFFFFFFu);
  EXPECT_EQ(joy.rgdwPOV[3], 0xFFFFFFFFu);
  EXPECT_EQ(state.keyHoldFrames[256 + 5], 1);

  // Unplugged: the axes read 0 and the buttons keep counting from the last snapshot.
  SDL_JoystickClose(pad);
  ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
  PollInput(state, "", clock);
  EXPECT_EQ(state.joystickState.lX, 0);
  EXPECT_EQ(state.keyHoldFrames[256 + 5], 2);
  ReleaseInput(state);
}

TEST_F(SdlDevices, ReleaseWithAControllerOpenClosesItOnce) {
  // Only the input state's own objects hold the joystick subsystem at the
  // end, as in the game: the DirectInput object is released first, then
  // the joystick.
  directInput.reset();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0), 0);
  SystemClock clock;
  InputState state(clock);
  InputServices services{&clock, CreateSdlDirectInput, [](const char*) {}};
  ASSERT_EQ(InitInput(state, "", window.get(), services), S_OK);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  ASSERT_TRUE(state.joystick);
  // Closing a joystick that SDL has already freed reads the freed memory and
  // complains of an invalid joystick.
  SDL_ClearError();
  ReleaseInput(state);
  EXPECT_STREQ(SDL_GetError(), "");
  EXPECT_EQ(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
}

TEST_F(SdlDevices, NoControllerMeansNoJoystickAndNoMessage) {
  ASSERT_EQ(SDL_NumJoysticks(), 0);
  SystemClock clock;
  InputState state(clock);
  int messages = 0;
  InputServices services{&clock, CreateSdlDirectInput, [&](const char*) { ++messages; }};
  ASSERT_EQ(InitInput(state, "", window.get(), services), S_OK);
  EXPECT_FALSE(state.joystick);
  EXPECT_EQ(messages, 0);
  state.joystickState.lX = 7;  // whatever was there before
  PollInput(state, "", clock);
  EXPECT_EQ(state.joystickState.lX, 0);
  ReleaseInput(state);
}

}  // namespace
}  // namespace vtrak
