// A game controller: an SDL joystick read in the DIJOYSTATE2 layout.
#include <algorithm>
#include <cstring>

#include "platform/input/device_base.h"
#include "platform/input/joystick_objects.h"
#include "platform/input/sdl_devices.h"

namespace vtrak {

int32_t ScaleAxis(int16_t value, int32_t lMin, int32_t lMax) {
  const int64_t span = int64_t{lMax} - lMin;
  const int64_t offset = int64_t{value} + 32768;  // 0..65535
  return static_cast<int32_t>(lMin + (offset * span + 32767) / 65535);
}

uint32_t HatAngle(uint8_t hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return 0xFFFFFFFFu;
  }
}

namespace {

class SdlJoystick final : public DeviceBase {
 public:
  explicit SdlJoystick(SDL_Joystick* joystick)
      : joystick_(joystick),
        axes_(std::clamp(SDL_JoystickNumAxes(joystick), 0, kMaxJoystickAxes)),
        buttons_(std::clamp(SDL_JoystickNumButtons(joystick), 0, kMaxJoystickButtons)),
        hats_(std::clamp(SDL_JoystickNumHats(joystick), 0, kMaxJoystickHats)) {
    std::fill(std::begin(rangeMax_), std::end(rangeMax_), 65535);  // DirectInput's default
  }
  // The joystick keeps SDL's joystick subsystem running until it is closed:
  // quitting the subsystem closes and frees every open joystick, so the
  // DirectInput object may go first.
  ~SdlJoystick() override {
    SDL_JoystickClose(joystick_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

 private:
  bool CanAcquire() const override { return SDL_JoystickGetAttached(joystick_) == SDL_TRUE; }
  DataFormat Format() const override { return DataFormat::Joystick2; }
  uint32_t StateSize() const override { return sizeof(DIJOYSTATE2); }
  void Read(void* data) override {
    DIJOYSTATE2 state{};
    for (int axis = 0; axis < axes_; ++axis) {
      JoystickAxis(state, axis) =
          ScaleAxis(SDL_JoystickGetAxis(joystick_, axis), rangeMin_[axis], rangeMax_[axis]);
    }
    for (int hat = 0; hat < kMaxJoystickHats; ++hat) {
      state.rgdwPOV[hat] = hat < hats_ ? HatAngle(SDL_JoystickGetHat(joystick_, hat)) : 0xFFFFFFFFu;
    }
    for (int button = 0; button < buttons_; ++button) {
      state.rgbButtons[button] = SDL_JoystickGetButton(joystick_, button) ? 0x80 : 0;
    }
    std::memcpy(data, &state, sizeof(state));
  }
  std::vector<DIDEVICEOBJECTINSTANCEA> Objects() const override {
    return JoystickObjects(axes_, buttons_, hats_);
  }
  HRESULT SetRange(const DIPROPRANGE& range) override {
    return ApplyRange(range, axes_, rangeMin_, rangeMax_);
  }

  SDL_Joystick* joystick_;
  int axes_;
  int buttons_;
  int hats_;
  int32_t rangeMin_[kMaxJoystickAxes] = {};
  int32_t rangeMax_[kMaxJoystickAxes] = {};
};

}  // namespace

std::unique_ptr<DirectInputDevice8> OpenSdlJoystick(int index) {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  if (joystick == nullptr) {
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return nullptr;
  }
  return std::make_unique<SdlJoystick>(joystick);
}

}  // namespace vtrak
