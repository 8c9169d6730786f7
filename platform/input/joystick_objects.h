#pragma once
// The objects a game controller offers in the DIJOYSTATE2 layout: up to eight
// axes (lX, lY, lZ, lRx, lRy, lRz, then the two sliders), up to 128 buttons and
// up to four hats, each named by its type bits and instance number (<< 8).
#include <vector>

#include "platform/input/input_devices.h"

namespace vtrak {

inline constexpr int kMaxJoystickAxes = 8;
inline constexpr int kMaxJoystickButtons = 128;
inline constexpr int kMaxJoystickHats = 4;

std::vector<DIDEVICEOBJECTINSTANCEA> JoystickObjects(int axes, int buttons, int hats);

// Applies a range to the axis it names by identifier (or, with DIPH_DEVICE and
// dwObj 0, to every axis); DIERR_INVALIDPARAM when it names no axis of `axes`.
HRESULT ApplyRange(const DIPROPRANGE& range, int axes, int32_t (&lMin)[kMaxJoystickAxes],
                   int32_t (&lMax)[kMaxJoystickAxes]);

// Where axis `axis` sits in DIJOYSTATE2.
int32_t& JoystickAxis(DIJOYSTATE2& state, int axis);

}  // namespace vtrak
