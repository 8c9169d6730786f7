#include <cstring>

#include "input/input_state.h"
#include "input/requested_file.h"
#include "platform/core/crt_rand.h"

namespace vtrak {

namespace {

// 認識？ — the question shown when a game controller is found.
constexpr const char* kJoystickFoundText = "\xE8\xAA\x8D\xE8\xAD\x98\xEF\xBC\x9F";

}  // namespace

int EnumJoystickCallback(const DIDEVICEINSTANCEA* instance, void* context) {
  InputState& state = *static_cast<InputState*>(context);
  if (Failed(state.directInput->CreateDevice(instance->guidInstance, state.joystick))) {
    return DIENUM_CONTINUE;  // try the next attached controller
  }
  return DIENUM_STOP;
}

int EnumAxisCallback(const DIDEVICEOBJECTINSTANCEA* object, void* context) {
  if ((object->dwType & DIDFT_AXIS) == 0) return DIENUM_CONTINUE;
  DIPROPRANGE range{};
  range.diph.dwSize = sizeof(DIPROPRANGE);
  range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
  range.diph.dwObj = object->dwType;
  range.diph.dwHow = DIPH_BYID;
  range.lMin = kAxisMin;
  range.lMax = kAxisMax;
  if (Failed(static_cast<InputState*>(context)->joystick->SetProperty(DeviceProperty::Range,
                                                                      &range.diph))) {
    return DIENUM_STOP;
  }
  return DIENUM_CONTINUE;
}

HRESULT InitInput(InputState& state, const char* requestedFile, Window* window,
                  InputServices& services) {
  if (services.clock == nullptr) return E_FAIL;  // nothing to count frames or seed with
  Clock& clock = *services.clock;
  CopyRequestedFile(state.requestedFile, requestedFile);
  state.totalFrames = 0;
  state.framesPerSecond = 0;
  state.frameCount = 0;
  state.secondStart = clock.timeGetTime() + 1000u;
  std::memset(state.keyState, 0, sizeof(state.keyState));

  if (!services.directInput8Create || Failed(services.directInput8Create(state.directInput)) ||
      !state.directInput) {
    return E_FAIL;
  }
  DirectInput8& directInput = *state.directInput;
  if (Failed(directInput.CreateDevice(Guid{DeviceGuid::SysKeyboard}, state.keyboard))) {
    return E_FAIL;
  }
  if (Failed(state.keyboard->SetDataFormat(DataFormat::Keyboard))) return E_FAIL;
  if (Failed(directInput.CreateDevice(Guid{DeviceGuid::SysMouse}, state.mouse))) return E_FAIL;
  if (Failed(state.mouse->SetDataFormat(DataFormat::Mouse2))) return E_FAIL;
  if (Failed(state.keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND))) {
    return E_FAIL;
  }
  state.joystick.reset();
  state.keyboard->Acquire();  // fails while the window lacks the focus; polling retries

  if (Failed(directInput.EnumDevices(DI8DEVCLASS_GAMECTRL, EnumJoystickCallback, &state,
                                     DIEDFL_ATTACHEDONLY))) {
    return E_FAIL;
  }
  if (state.joystick) {
    if (services.messageBox) services.messageBox(kJoystickFoundText);
    if (Failed(state.joystick->SetDataFormat(DataFormat::Joystick2))) return E_FAIL;
    if (Failed(state.joystick->EnumObjects(EnumAxisCallback, &state, DIDFT_ALL))) return E_FAIL;
    state.joystick->Acquire();
  }

  crt::srand(clock.timeGetTime());
  state.frameCount = 0;
  state.totalFrames = 0;
  state.secondStart = clock.timeGetTime();
  state.framesPerSecond = 60;
  return S_OK;
}

}  // namespace vtrak
