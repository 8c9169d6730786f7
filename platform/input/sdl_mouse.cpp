// The system mouse: relative motion since the last read.
#include <cstring>

#include "platform/input/device_base.h"
#include "platform/input/sdl_devices.h"

namespace vtrak {

namespace {

class SdlMouse final : public DeviceBase {
 private:
  // Motion counts from the moment of acquisition.
  void OnAcquired() override { SDL_GetRelativeMouseState(nullptr, nullptr); }
  DataFormat Format() const override { return DataFormat::Mouse2; }
  uint32_t StateSize() const override { return sizeof(DIMOUSESTATE2); }
  void Read(void* data) override {
    DIMOUSESTATE2 state{};
    int dx = 0;
    int dy = 0;
    const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
    state.lX = dx;
    state.lY = dy;
    // DirectInput's order: left, right, middle, then the side buttons.
    const int sdlButtons[5] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1,
                               SDL_BUTTON_X2};
    for (int i = 0; i < 5; ++i) {
      state.rgbButtons[i] = (buttons & SDL_BUTTON(sdlButtons[i])) ? 0x80 : 0;
    }
    std::memcpy(data, &state, sizeof(state));
  }
};

}  // namespace

std::unique_ptr<DirectInputDevice8> CreateSdlMouse() {
  return std::make_unique<SdlMouse>();
}

}  // namespace vtrak
