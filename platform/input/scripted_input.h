#pragma once
// DirectInput8Create for tests and the headless tool: a keyboard whose 256 key
// bytes the caller sets before each poll, a mouse with settable motion, any
// number of game controllers, failures on demand and a record of the calls.
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/input/input_devices.h"
#include "platform/input/scripted_clock.h"

namespace vtrak {

struct ScriptedJoystick {
  bool creatable = true;   // CreateDevice fails when false
  bool acquirable = true;  // Acquire fails when false
  int axisCount = 2;       // lX, lY, lZ, lRx, lRy, lRz, then the two sliders
  int buttonCount = 4;     // up to 128
  int povCount = 0;        // up to 4
  DIJOYSTATE2 state = {};  // what the next successful read returns
  // The range each axis was given through SetProperty (by enumeration order);
  // DirectInput's default range until then.
  int32_t rangeMin[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  int32_t rangeMax[8] = {65535, 65535, 65535, 65535, 65535, 65535, 65535, 65535};
};

struct ScriptedDevices {
  uint8_t keys[256] = {};          // the keyboard as the next read returns it (0x80: down)
  bool keyboardAcquirable = true;  // false: as if another window had the foreground
  int32_t mouseMotionX = 0;        // motion the next successful mouse read returns;
  int32_t mouseMotionY = 0;        // the read then clears it
  int32_t mouseMotionZ = 0;
  uint8_t mouseButtons[8] = {};
  std::vector<ScriptedJoystick> joysticks;  // attached controllers, in enumeration order

  // Calls named here return E_FAIL; names as in `calls`.
  std::set<std::string> failingCalls;
  // Every call made, in order. On the DirectInput object: "CreateDevice(SysKeyboard)",
  // "CreateDevice(SysMouse)", "CreateDevice(Joystick0)" (by enumeration index),
  // "EnumDevices", "Release"; on a device, prefixed with keyboard, mouse or joystick:
  // "keyboard.Acquire", "mouse.GetDeviceState", "joystick.SetProperty", "mouse.Release", ...
  std::vector<std::string> calls;
  bool recordCalls = true;  // the tool turns it off for long runs

  // Whether any call on a joystick (or to create one) was recorded.
  bool AnyJoystickCall() const;
};

// The DirectInput object over `devices`, which must outlive it and its devices.
HRESULT CreateScriptedDirectInput(ScriptedDevices& devices,
                                  std::unique_ptr<DirectInput8>& directInput);

}  // namespace vtrak
