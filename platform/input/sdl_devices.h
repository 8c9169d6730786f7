#pragma once
// The three SDL device stand-ins behind CreateSdlDirectInput.
#include <SDL2/SDL.h>

#include <memory>

#include "platform/input/input_devices.h"

namespace vtrak {

std::unique_ptr<DirectInputDevice8> CreateSdlKeyboard();
std::unique_ptr<DirectInputDevice8> CreateSdlMouse();
// The joystick at SDL's device index `index`, or null when it does not open.
std::unique_ptr<DirectInputDevice8> OpenSdlJoystick(int index);

// An SDL axis value (-32768..32767) in the range lMin..lMax, rounded to nearest.
int32_t ScaleAxis(int16_t value, int32_t lMin, int32_t lMax);
// An SDL hat position in hundredths of a degree clockwise from up; centred 0xFFFFFFFF.
uint32_t HatAngle(uint8_t hat);

}  // namespace vtrak
