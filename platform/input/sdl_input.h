#pragma once
// DirectInput8Create on SDL2: the system keyboard (SDL's keyboard state mapped
// to DirectInput key codes), the system mouse (relative motion) and the
// attached SDL joysticks as game controllers. SDL's video subsystem must be
// running; the joystick subsystem is started here and stopped with the object.
#include <memory>

#include "platform/input/input_devices.h"

namespace vtrak {

HRESULT CreateSdlDirectInput(std::unique_ptr<DirectInput8>& directInput);

}  // namespace vtrak
