#include "platform/input/scripted_input.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace vtrak {

namespace {

constexpr size_t kAxisOffsets[8] = {
    offsetof(DIJOYSTATE2, lX),           offsetof(DIJOYSTATE2, lY),
    offsetof(DIJOYSTATE2, lZ),           offsetof(DIJOYSTATE2, lRx),
    offsetof(DIJOYSTATE2, lRy),          offsetof(DIJOYSTATE2, lRz),
    offsetof(DIJOYSTATE2, rglSlider[0]), offsetof(DIJOYSTATE2, rglSlider[1])};

// Shared by the three devices: the name prefix, the call record and failures.
class ScriptedDevice : public DirectInputDevice8 {
 public:
  ScriptedDevice(ScriptedDevices& devices, const char* name) : devices_(devices), name_(name) {}
  ~ScriptedDevice() override { Call("Release"); }

  HRESULT SetDataFormat(DataFormat format) override {
    if (Call("SetDataFormat")) return E_FAIL;
    hasFormat_ = format == Format();
    return DI_OK;
  }
  HRESULT SetCooperativeLevel(Window* /*window*/, uint32_t flags) override {
    if (Call("SetCooperativeLevel")) return E_FAIL;
    return flags == 0 ? DIERR_INVALIDPARAM : DI_OK;
  }
  HRESULT Acquire() override {
    if (Call("Acquire")) return E_FAIL;
    if (!hasFormat_) return DIERR_INVALIDPARAM;
    if (!CanAcquire()) {
      acquired_ = false;
      return DIERR_OTHERAPPHASPRIO;
    }
    if (acquired_) return S_FALSE;
    acquired_ = true;
    OnAcquired();
    return DI_OK;
  }
  HRESULT GetDeviceState(uint32_t size, void* data) override {
    if (Call("GetDeviceState")) return E_FAIL;
    if (!acquired_ || !CanAcquire()) {
      const bool wasAcquired = acquired_;
      acquired_ = false;
      return wasAcquired ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
    }
    if (size != StateSize()) return DIERR_INVALIDPARAM;
    Read(data);
    return DI_OK;
  }
  HRESULT EnumObjects(EnumObjectsCallback callback, void* context, uint32_t flags) override {
    if (Call("EnumObjects")) return E_FAIL;
    for (const DIDEVICEOBJECTINSTANCEA& object : Objects()) {
      if (flags != DIDFT_ALL && (object.dwType & flags) == 0) continue;
      if (callback(&object, context) == DIENUM_STOP) break;
    }
    return DI_OK;
  }
  HRESULT SetProperty(DeviceProperty property, const DIPROPHEADER* header) override {
    if (Call("SetProperty")) return E_FAIL;
    if (property != DeviceProperty::Range || header == nullptr ||
        header->dwSize != sizeof(DIPROPRANGE) || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
      return DIERR_INVALIDPARAM;
    }
    return SetRange(*reinterpret_cast<const DIPROPRANGE*>(header));
  }

 protected:
  // Records the call; true when the script says it fails.
  bool Call(const char* what) {
    std::string call = std::string(name_) + "." + what;
    const bool fails = devices_.failingCalls.count(call) != 0;
    if (devices_.recordCalls) devices_.calls.push_back(std::move(call));
    return fails;
  }
  virtual bool CanAcquire() const { return true; }
  virtual void OnAcquired() {}
  virtual DataFormat Format() const = 0;
  virtual uint32_t StateSize() const = 0;
  virtual void Read(void* data) = 0;
  virtual std::vector<DIDEVICEOBJECTINSTANCEA> Objects() const { return {}; }
  virtual HRESULT SetRange(const DIPROPRANGE& /*range*/) { return DIERR_INVALIDPARAM; }

  ScriptedDevices& devices_;

 private:
  const char* name_;
  bool hasFormat_ = false;
  bool acquired_ = false;
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
    std::vector<DIDEVICEOBJECTINSTANCEA> objects;
    const int axes = std::clamp(joystick.axisCount, 0, 8);
    for (int i = 0; i < axes; ++i) {
      objects.push_back({DIDFT_ABSAXIS | (static_cast<uint32_t>(i) << 8),
                         static_cast<uint32_t>(kAxisOffsets[i]), "axis"});
    }
    const int buttons = std::clamp(joystick.buttonCount, 0, 128);
    for (int i = 0; i < buttons; ++i) {
      objects.push_back({DIDFT_PSHBUTTON | (static_cast<uint32_t>(i) << 8),
                         static_cast<uint32_t>(offsetof(DIJOYSTATE2, rgbButtons) + i), "button"});
    }
    const int povs = std::clamp(joystick.povCount, 0, 4);
    for (int i = 0; i < povs; ++i) {
      objects.push_back({DIDFT_POV | (static_cast<uint32_t>(i) << 8),
                         static_cast<uint32_t>(offsetof(DIJOYSTATE2, rgdwPOV) + 4 * i), "hat"});
    }
    return objects;
  }

  HRESULT SetRange(const DIPROPRANGE& range) override {
    if (range.lMin >= range.lMax || range.diph.dwHow != DIPH_BYID ||
        (range.diph.dwObj & DIDFT_AXIS) == 0) {
      return DIERR_INVALIDPARAM;
    }
    const uint32_t axis = range.diph.dwObj >> 8;
    ScriptedJoystick& joystick = Joystick();
    if (axis >= static_cast<uint32_t>(std::clamp(joystick.axisCount, 0, 8))) {
      return DIERR_INVALIDPARAM;
    }
    joystick.rangeMin[axis] = range.lMin;
    joystick.rangeMax[axis] = range.lMax;
    return DI_OK;
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
