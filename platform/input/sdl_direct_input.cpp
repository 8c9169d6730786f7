// The DirectInput object on SDL: creates the system keyboard and mouse and
// enumerates the attached SDL joysticks as game controllers.
#include <cstdio>

#include "platform/input/sdl_devices.h"
#include "platform/input/sdl_input.h"

namespace vtrak {

namespace {

class SdlDirectInput final : public DirectInput8 {
 public:
  explicit SdlDirectInput(bool joysticks) : joysticks_(joysticks) {}
  ~SdlDirectInput() override {
    if (joysticks_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  HRESULT CreateDevice(const Guid& guid, std::unique_ptr<DirectInputDevice8>& device) override {
    switch (guid.kind) {
      case DeviceGuid::SysKeyboard:
        device = CreateSdlKeyboard();
        return DI_OK;
      case DeviceGuid::SysMouse:
        device = CreateSdlMouse();
        return DI_OK;
      case DeviceGuid::Instance: {
        if (!joysticks_) return E_FAIL;
        auto joystick = OpenSdlJoystick(static_cast<int>(guid.instance));
        if (!joystick) return E_FAIL;
        device = std::move(joystick);
        return DI_OK;
      }
    }
    return DIERR_INVALIDPARAM;
  }

  HRESULT EnumDevices(uint32_t deviceClass, EnumDevicesCallback callback, void* context,
                      uint32_t /*flags*/) override {
    if (callback == nullptr) return DIERR_INVALIDPARAM;
    if (deviceClass != DI8DEVCLASS_GAMECTRL || !joysticks_) return DI_OK;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
      DIDEVICEINSTANCEA instance{};
      instance.guidInstance = Guid{DeviceGuid::Instance, static_cast<uint32_t>(index)};
      const char* name = SDL_JoystickNameForIndex(index);
      std::snprintf(instance.tszInstanceName, sizeof(instance.tszInstanceName), "%s",
                    name != nullptr ? name : "");
      if (callback(&instance, context) == DIENUM_STOP) break;
    }
    return DI_OK;
  }

 private:
  bool joysticks_;
};

}  // namespace

HRESULT CreateSdlDirectInput(std::unique_ptr<DirectInput8>& directInput) {
  // A controller keeps the background level it gets by default: it is read
  // whether or not the window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // Without the joystick subsystem the game simply finds no controller.
  const bool joysticks = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
  if (!joysticks) {
    std::fprintf(stderr, "vtrak: game controllers unavailable (%s); playing without one\n",
                 SDL_GetError());
  }
  directInput = std::make_unique<SdlDirectInput>(joysticks);
  return DI_OK;
}

}  // namespace vtrak
