#pragma once
// The InputState: the game's one source of player input and its frame clock.
// Set up once, polled once per drawn frame into key bytes and hold counters,
// released first at shutdown.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/clock.h"
#include "platform/core/result.h"
#include "platform/input/input_devices.h"

namespace vtrak {

class Window;

inline constexpr int kKeyCount = 256;
inline constexpr int kHoldCounterCount = 512;
inline constexpr int kJoystickButtonCounterBase = 256;  // button n counts at 256 + n
inline constexpr int kCountedJoystickButtons = 32;
inline constexpr int kRequestedFileSize = 999;
inline constexpr int kCursorMaxX = 640;  // inclusive
inline constexpr int kCursorMaxY = 480;  // inclusive
inline constexpr int32_t kAxisMin = -6;
inline constexpr int32_t kAxisMax = 6;

struct InputState {
  // The defaults: everything zero, null or empty but the cursor (320, 240),
  // framesPerSecond 60 and secondStart one second from now.
  explicit InputState(Clock& clock);

  uint8_t keyState[kKeyCount] = {};               // bit 0x80: key down
  int32_t keyHoldFrames[kHoldCounterCount] = {};  // polls seen down in a row; 0 while up
  DIMOUSESTATE2 mouseState = {};
  int32_t frameCount = 0;        // polls in the current one-second window
  int32_t framesPerSecond = 60;  // polls in the last completed window
  uint32_t secondStart = 0;      // start of the current window, timeGetTime ms
  int32_t totalFrames = 0;       // polls since set-up
  int32_t cursorX = 320;         // 0..640 inclusive
  int32_t cursorY = 240;         // 0..480 inclusive
  char requestedFile[kRequestedFileSize] = {};
  std::unique_ptr<DirectInput8> directInput;
  std::unique_ptr<DirectInputDevice8> keyboard;
  std::unique_ptr<DirectInputDevice8> mouse;
  std::unique_ptr<DirectInputDevice8> joystick;  // null when no controller was found
  DIJOYSTATE2 joystickState = {};
};

// What set-up needs from the platform: the millisecond clock, DirectInput8Create
// and the captionless message box (UTF-8 text).
struct InputServices {
  Clock* clock;
  std::function<HRESULT(std::unique_ptr<DirectInput8>&)> directInput8Create;
  std::function<void(const char* utf8Text)> messageBox;
};

// Opens the keyboard, the mouse and the first game controller, and seeds
// vtrak::crt::srand from the clock. S_OK, or E_FAIL at the first failing step
// (devices made before it stay in the record for ReleaseInput).
HRESULT InitInput(InputState& state, const char* requestedFile, Window* window,
                  InputServices& services);

// One snapshot of every device per drawn frame: hold counters, cursor, frame counts.
void PollInput(InputState& state, const char* requestedFile, Clock& clock);

// Releases directInput, joystick, keyboard, mouse; a second call does nothing.
void ReleaseInput(InputState& state);

// The enumeration callbacks; their context is the InputState being set up.
int EnumJoystickCallback(const DIDEVICEINSTANCEA* instance, void* context);
int EnumAxisCallback(const DIDEVICEOBJECTINSTANCEA* object, void* context);

}  // namespace vtrak
