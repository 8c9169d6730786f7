#include "platform/input/scripted_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "platform/input/device_base.h"
#include "platform/input/joystick_objects.h"

namespace vtrak {

namespace {

// The call record and the failures on demand, shared by the three devices.
class ScriptedDevice : public DeviceBase {
 public:
  ScriptedDevice(ScriptedDevices& devices, const char* name) : devices_(devices), name_(name) {}
  ~ScriptedDevice() override { Intercept("Release"); }

 protected:
  bool Intercept(const char* operation) override {
    if (!devices_.recordCalls && devices_.failingCalls.empty()) return false;
    std::string call = std::string(name_) + "." + operation;
    const bool fails = devices_.failingCalls.count(call) != 0;
    if (devices_.recordCalls) devices_.calls.push_back(std::move(call));
    return fails;
  }

  ScriptedDevices& devices_;

 private:
  const char* name_;
};

class ScriptedKeyboard final : public ScriptedDevice {
 public:
  explicit ScriptedKeyboard(ScriptedDevices& devices) : ScriptedDevice(devices, "keyboard") {}

 private:
  bool CanAcquire() const override { return devices_.keyboardAcquirable; }
  DataFormat Format() const override { return DataFormat::Keyboard; }
  uint32_t StateSize() const override { return sizeof(devices_.keys); }
  void Read(void* data) override { std::memcpy(data, devices_.keys, sizeof(devices_.keys)); }
};

class ScriptedMouse final : public ScriptedDevice {
 public:
  explicit ScriptedMouse(ScriptedDevices& devices) : ScriptedDevice(devices, "mouse") {}

 private:
  // Motion counts from the moment of acquisition.
  void OnAcquired() override {
    devices_.mouseMotionX = devices_.mouseMotionY = devices_.mouseMotionZ = 0;
  }
  DataFormat Format() const override { return DataFormat::Mouse2; }
  uint32_t StateSize() const override { return sizeof(DIMOUSESTATE2); }
  void Read(void* data) override {
    DIMOUSESTATE2 state{devices_.mouseMotionX, devices_.mouseMotionY, devices_.mouseMotionZ, {}};
    std::memcpy(state.rgbButtons, devices_.mouseButtons, sizeof(state.rgbButtons));
    std::memcpy(data, &state, sizeof(state));
    devices_.mouseMotionX = devices_.mouseMotionY = devices_.mouseMotionZ = 0;
  }
};

class ScriptedJoystickDevice final : public ScriptedDevice {
 public:
  ScriptedJoystickDevice(ScriptedDevices& devices, size_t index)
      : ScriptedDevice(devices, "joystick"), index_(index) {}

 private:
  ScriptedJoystick& Joystick() const { return devices_.joysticks.at(index_); }
  bool CanAcquire() const override { return Joystick().acquirable; }
  DataFormat Format() const override { return DataFormat::Joystick2; }
  uint32_t StateSize() const override { return sizeof(DIJOYSTATE2); }
  void Read(void* data) override { std::memcpy(data, &Joystick().state, sizeof(DIJOYSTATE2)); }

  std::vector<DIDEVICEOBJECTINSTANCEA> Objects() const override {
    const ScriptedJoystick& joystick = Joystick();
    return JoystickObjects(joystick.axisCount, joystick.buttonCount, joystick.povCount);
  }

  HRESULT SetRange(const DIPROPRANGE& range) override {
    ScriptedJoystick& joystick = Joystick();
    return ApplyRange(range, joystick.axisCount, joystick.rangeMin, joystick.rangeMax);
  }

  size_t index_;
};

class ScriptedDirectInput final : public DirectInput8 {
 public:
  explicit ScriptedDirectInput(ScriptedDevices& devices) : devices_(devices) {}
  ~ScriptedDirectInput() override { Call("Release"); }

  HRESULT CreateDevice(const Guid& guid, std::unique_ptr<DirectInputDevice8>& device) override {
    switch (guid.kind) {
      case DeviceGuid::SysKeyboard:
        if (Call("CreateDevice(SysKeyboard)")) return E_FAIL;
        device = std::make_unique<ScriptedKeyboard>(devices_);
        return DI_OK;
      case DeviceGuid::SysMouse:
        if (Call("CreateDevice(SysMouse)")) return E_FAIL;
        device = std::make_unique<ScriptedMouse>(devices_);
        return DI_OK;
      case DeviceGuid::Instance:
        if (Call(("CreateDevice(Joystick" + std::to_string(guid.instance) + ")").c_str()) ||
            guid.instance >= devices_.joysticks.size() ||
            !devices_.joysticks[guid.instance].creatable) {
          return E_FAIL;
        }
        device = std::make_unique<ScriptedJoystickDevice>(devices_, guid.instance);
        return DI_OK;
    }
    return DIERR_INVALIDPARAM;
  }

  HRESULT EnumDevices(uint32_t deviceClass, EnumDevicesCallback callback, void* context,
                      uint32_t /*flags*/) override {
    if (Call("EnumDevices")) return E_FAIL;
    if (deviceClass != DI8DEVCLASS_GAMECTRL) return DI_OK;
    for (size_t i = 0; i < devices_.joysticks.size(); ++i) {
      DIDEVICEINSTANCEA instance{Guid{DeviceGuid::Instance, static_cast<uint32_t>(i)}, {}};
      std::snprintf(instance.tszInstanceName, sizeof(instance.tszInstanceName),
                    "Scripted joystick %zu", i);
      if (callback(&instance, context) == DIENUM_STOP) break;
    }
    return DI_OK;
  }

 private:
  bool Call(const char* what) {
    if (!devices_.recordCalls && devices_.failingCalls.empty()) return false;
    const bool fails = devices_.failingCalls.count(what) != 0;
    if (devices_.recordCalls) devices_.calls.emplace_back(what);
    return fails;
  }

  ScriptedDevices& devices_;
};

}  // namespace

bool ScriptedDevices::AnyJoystickCall() const {
  return std::any_of(calls.begin(), calls.end(), [](const std::string& call) {
    return call.rfind("joystick.", 0) == 0 || call.rfind("CreateDevice(Joystick", 0) == 0;
  });
}

HRESULT CreateScriptedDirectInput(ScriptedDevices& devices,
                                  std::unique_ptr<DirectInput8>& directInput) {
  directInput = std::make_unique<ScriptedDirectInput>(devices);
  return DI_OK;
}

}  // namespace vtrak
