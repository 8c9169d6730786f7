#include <algorithm>
#include <cstring>

#include "input/input_state.h"
#include "input/requested_file.h"

namespace vtrak {

namespace {

bool Acquired(HRESULT hr) {
  return hr == DI_OK || hr == S_FALSE;
}

// Counters wrap after 2^31 polls (over a year at 60 frames a second).
int32_t CountUp(int32_t counter) {
  return static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
}

// Closes the one-second window once more than 1000 ms have passed since it
// began. The comparison is on the unsigned difference taken as signed, so a
// window that spans the wrap of the 32-bit clock closes on time too, and a
// start still in the future (the first second after set-up) reads as not yet.
void CountFramesPerSecond(InputState& state, Clock& clock) {
  const uint32_t windowEnd = state.secondStart + 1000u;
  if (static_cast<int32_t>(clock.timeGetTime() - windowEnd) <= 0) return;
  const uint32_t elapsed = clock.timeGetTime() - state.secondStart;
  state.secondStart += elapsed / 1000u * 1000u;  // whole seconds only
  state.framesPerSecond = state.frameCount;
  state.frameCount = 0;
}

void PollKeyboard(InputState& state) {
  if (!state.keyboard) {
    std::memset(state.keyState, 0, sizeof(state.keyState));
  } else if (Acquired(state.keyboard->Acquire())) {
    state.keyboard->GetDeviceState(sizeof(state.keyState), state.keyState);
  }  // else the last snapshot stands
  for (int key = 0; key < kKeyCount; ++key) {
    int32_t& held = state.keyHoldFrames[key];
    held = (state.keyState[key] & 0x80) ? CountUp(held) : 0;
  }
}

void PollJoystick(InputState& state) {
  DIJOYSTATE2& joy = state.joystickState;
  for (int32_t* axis :
       {&joy.lX,   &joy.lY,   &joy.lZ,   &joy.lRx,  &joy.lRy, &joy.lRz,  &joy.lVX,  &joy.lVY,
        &joy.lVZ,  &joy.lVRx, &joy.lVRy, &joy.lVRz, &joy.lAX, &joy.lAY,  &joy.lAZ,  &joy.lARx,
        &joy.lARy, &joy.lARz, &joy.lFX,  &joy.lFY,  &joy.lFZ, &joy.lFRx, &joy.lFRy, &joy.lFRz}) {
    *axis = 0;
  }
  if (!state.joystick) return;
  if (Acquired(state.joystick->Acquire())) {
    state.joystick->GetDeviceState(sizeof(DIJOYSTATE2), &joy);
  }
  for (int button = 0; button < kCountedJoystickButtons; ++button) {
    int32_t& held = state.keyHoldFrames[kJoystickButtonCounterBase + button];
    held = joy.rgbButtons[button] != 0 ? CountUp(held) : 0;
  }
}

void PollMouse(InputState& state) {
  if (!state.mouse) {
    state.mouseState = DIMOUSESTATE2{};
  } else if (Failed(state.mouse->GetDeviceState(sizeof(DIMOUSESTATE2), &state.mouseState))) {
    state.mouse->Acquire();  // read again next frame
  }
  // Widened so that a wild motion cannot overflow before the clamp.
  const int64_t x = int64_t{state.cursorX} + state.mouseState.lX;
  const int64_t y = int64_t{state.cursorY} + state.mouseState.lY;
  state.cursorX = static_cast<int32_t>(std::clamp<int64_t>(x, 0, kCursorMaxX));
  state.cursorY = static_cast<int32_t>(std::clamp<int64_t>(y, 0, kCursorMaxY));
}

}  // namespace

void PollInput(InputState& state, const char* requestedFile, Clock& clock) {
  UpdateRequestedFile(state.requestedFile, requestedFile);
  state.frameCount = CountUp(state.frameCount);
  state.totalFrames = CountUp(state.totalFrames);
  CountFramesPerSecond(state, clock);
  PollKeyboard(state);
  PollJoystick(state);
  PollMouse(state);
}

}  // namespace vtrak
