#pragma once
// The input device stand-ins: the subset of DirectInput 8 that the input state
// uses, as small interfaces. The SDL implementation reads SDL's keyboard,
// mouse and joystick; the scripted one serves the tests and the tool.
#include <cstdint>
#include <memory>

#include "platform/core/result.h"

namespace vtrak {

class Window;

inline constexpr HRESULT DI_OK = 0;
inline constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
inline constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
inline constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT DIERR_INVALIDPARAM = E_INVALIDARG;

inline constexpr int DIENUM_STOP = 0;
inline constexpr int DIENUM_CONTINUE = 1;

inline constexpr uint32_t DISCL_NONEXCLUSIVE = 0x2;
inline constexpr uint32_t DISCL_FOREGROUND = 0x4;
inline constexpr uint32_t DI8DEVCLASS_GAMECTRL = 4;
inline constexpr uint32_t DIEDFL_ATTACHEDONLY = 1;
inline constexpr uint32_t DIDFT_ALL = 0;
inline constexpr uint32_t DIDFT_AXIS = 0x3;
inline constexpr uint32_t DIDFT_RELAXIS = 0x1;
inline constexpr uint32_t DIDFT_ABSAXIS = 0x2;
inline constexpr uint32_t DIDFT_PSHBUTTON = 0x4;
inline constexpr uint32_t DIDFT_POV = 0x10;
inline constexpr uint32_t DIPH_BYID = 2;

inline constexpr uint8_t DIK_Z = 0x2C;
inline constexpr uint8_t DIK_X = 0x2D;

// The device a CreateDevice call asks for.
enum class DeviceGuid : uint32_t { SysKeyboard, SysMouse, Instance };
// The predefined data formats.
enum class DataFormat { Keyboard, Mouse2, Joystick2 };
// The one property the input layer sets.
enum class DeviceProperty { Range };

struct Guid {
  DeviceGuid kind = DeviceGuid::Instance;
  uint32_t instance = 0;  // which attached controller, for Instance
};

struct DIMOUSESTATE2 {
  int32_t lX, lY, lZ;
  uint8_t rgbButtons[8];
};
static_assert(sizeof(DIMOUSESTATE2) == 20);

struct DIJOYSTATE2 {
  int32_t lX, lY, lZ, lRx, lRy, lRz;
  int32_t rglSlider[2];
  uint32_t rgdwPOV[4];
  uint8_t rgbButtons[128];
  int32_t lVX, lVY, lVZ, lVRx, lVRy, lVRz;
  int32_t rglVSlider[2];
  int32_t lAX, lAY, lAZ, lARx, lARy, lARz;
  int32_t rglASlider[2];
  int32_t lFX, lFY, lFZ, lFRx, lFRy, lFRz;
  int32_t rglFSlider[2];
};
static_assert(sizeof(DIJOYSTATE2) == 272);

struct DIDEVICEINSTANCEA {
  Guid guidInstance;
  char tszInstanceName[260];
};

struct DIDEVICEOBJECTINSTANCEA {
  uint32_t dwType;  // DIDFT_* type bits | instance number << 8
  uint32_t dwOfs;
  char tszName[260];
};

struct DIPROPHEADER {
  uint32_t dwSize;
  uint32_t dwHeaderSize;
  uint32_t dwObj;
  uint32_t dwHow;
};

struct DIPROPRANGE {
  DIPROPHEADER diph;
  int32_t lMin;
  int32_t lMax;
};
static_assert(sizeof(DIPROPHEADER) == 16 && sizeof(DIPROPRANGE) == 24);

using EnumDevicesCallback = int (*)(const DIDEVICEINSTANCEA* instance, void* context);
using EnumObjectsCallback = int (*)(const DIDEVICEOBJECTINSTANCEA* object, void* context);

// One input device (keyboard, mouse or joystick). Destroying it is Release.
class DirectInputDevice8 {
 public:
  virtual ~DirectInputDevice8() = default;
  virtual HRESULT SetDataFormat(DataFormat format) = 0;
  virtual HRESULT SetCooperativeLevel(Window* window, uint32_t flags) = 0;
  // DI_OK when newly acquired, S_FALSE when already acquired, negative on failure.
  virtual HRESULT Acquire() = 0;
  virtual HRESULT GetDeviceState(uint32_t size, void* data) = 0;
  virtual HRESULT EnumObjects(EnumObjectsCallback callback, void* context, uint32_t flags) = 0;
  virtual HRESULT SetProperty(DeviceProperty property, const DIPROPHEADER* header) = 0;
};

// The DirectInput object. Destroying it is Release.
class DirectInput8 {
 public:
  virtual ~DirectInput8() = default;
  virtual HRESULT CreateDevice(const Guid& guid, std::unique_ptr<DirectInputDevice8>& device) = 0;
  virtual HRESULT EnumDevices(uint32_t deviceClass, EnumDevicesCallback callback, void* context,
                              uint32_t flags) = 0;
};

}  // namespace vtrak
