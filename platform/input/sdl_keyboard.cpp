// The system keyboard: SDL's key state as 256 DirectInput key bytes.
#include <cstring>

#include "platform/input/device_base.h"
#include "platform/input/sdl_devices.h"
#include "platform/input/sdl_key_codes.h"
#include "platform/window/window.h"

namespace vtrak {

namespace {

class SdlKeyboard final : public DeviceBase {
 private:
  // At the foreground level the keyboard is ours only while the window has the focus.
  bool CanAcquire() const override {
    if ((cooperativeLevel_ & DISCL_FOREGROUND) == 0) return true;
    return window_ != nullptr && window_->HasKeyboardFocus();
  }
  DataFormat Format() const override { return DataFormat::Keyboard; }
  uint32_t StateSize() const override { return 256; }
  void Read(void* data) override {
    uint8_t keys[256] = {};
    int count = 0;
    const Uint8* down = SDL_GetKeyboardState(&count);
    for (int scancode = 0; scancode < count; ++scancode) {
      if (down[scancode] == 0) continue;
      const uint8_t dik = DikFromScancode(static_cast<SDL_Scancode>(scancode));
      if (dik != 0) keys[dik] = 0x80;
    }
    std::memcpy(data, keys, sizeof(keys));
  }
};

}  // namespace

std::unique_ptr<DirectInputDevice8> CreateSdlKeyboard() {
  return std::make_unique<SdlKeyboard>();
}

}  // namespace vtrak
