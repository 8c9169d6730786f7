#include "platform/input/joystick_objects.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace vtrak {

namespace {

constexpr size_t kAxisOffsets[kMaxJoystickAxes] = {
    offsetof(DIJOYSTATE2, lX),           offsetof(DIJOYSTATE2, lY),
    offsetof(DIJOYSTATE2, lZ),           offsetof(DIJOYSTATE2, lRx),
    offsetof(DIJOYSTATE2, lRy),          offsetof(DIJOYSTATE2, lRz),
    offsetof(DIJOYSTATE2, rglSlider[0]), offsetof(DIJOYSTATE2, rglSlider[1])};

DIDEVICEOBJECTINSTANCEA Object(uint32_t type, int instance, size_t offset, const char* name) {
  DIDEVICEOBJECTINSTANCEA object{};
  object.dwType = type | (static_cast<uint32_t>(instance) << 8);
  object.dwOfs = static_cast<uint32_t>(offset);
  std::snprintf(object.tszName, sizeof(object.tszName), "%s %d", name, instance);
  return object;
}

}  // namespace

std::vector<DIDEVICEOBJECTINSTANCEA> JoystickObjects(int axes, int buttons, int hats) {
  std::vector<DIDEVICEOBJECTINSTANCEA> objects;
  for (int i = 0; i < std::clamp(axes, 0, kMaxJoystickAxes); ++i) {
    objects.push_back(Object(DIDFT_ABSAXIS, i, kAxisOffsets[i], "Axis"));
  }
  for (int i = 0; i < std::clamp(buttons, 0, kMaxJoystickButtons); ++i) {
    objects.push_back(Object(DIDFT_PSHBUTTON, i, offsetof(DIJOYSTATE2, rgbButtons) + i, "Button"));
  }
  for (int i = 0; i < std::clamp(hats, 0, kMaxJoystickHats); ++i) {
    objects.push_back(Object(DIDFT_POV, i, offsetof(DIJOYSTATE2, rgdwPOV) + 4 * i, "Hat"));
  }
  return objects;
}

HRESULT ApplyRange(const DIPROPRANGE& range, int axes, int32_t (&lMin)[kMaxJoystickAxes],
                   int32_t (&lMax)[kMaxJoystickAxes]) {
  constexpr uint32_t kDiphDevice = 0;
  const uint32_t count = static_cast<uint32_t>(std::clamp(axes, 0, kMaxJoystickAxes));
  uint32_t first = 0;
  uint32_t last = count;
  if (range.diph.dwHow != kDiphDevice || range.diph.dwObj != 0) {
    first = range.diph.dwObj >> 8;
    last = first + 1;
    if (range.diph.dwHow != DIPH_BYID || (range.diph.dwObj & DIDFT_AXIS) == 0 || first >= count) {
      return DIERR_INVALIDPARAM;
    }
  }
  for (uint32_t axis = first; axis < last; ++axis) {
    lMin[axis] = range.lMin;
    lMax[axis] = range.lMax;
  }
  return DI_OK;
}

int32_t& JoystickAxis(DIJOYSTATE2& state, int axis) {
  int32_t* const axes[kMaxJoystickAxes] = {&state.lX,           &state.lY,          &state.lZ,
                                           &state.lRx,          &state.lRy,         &state.lRz,
                                           &state.rglSlider[0], &state.rglSlider[1]};
  return *axes[axis];
}

}  // namespace vtrak
