#include "platform/input/device_base.h"

#include <cstring>

namespace vtrak {

HRESULT DeviceBase::SetDataFormat(DataFormat format) {
  if (Intercept("SetDataFormat")) return E_FAIL;
  if (format != Format()) return DIERR_INVALIDPARAM;
  hasFormat_ = true;
  return DI_OK;
}

HRESULT DeviceBase::SetCooperativeLevel(Window* window, uint32_t flags) {
  if (Intercept("SetCooperativeLevel")) return E_FAIL;
  if ((flags & (DISCL_NONEXCLUSIVE | DISCL_FOREGROUND)) != flags || flags == 0) {
    return DIERR_INVALIDPARAM;  // exclusive and background levels are not offered
  }
  window_ = window;
  cooperativeLevel_ = flags;
  return DI_OK;
}

HRESULT DeviceBase::Acquire() {
  if (Intercept("Acquire")) return E_FAIL;
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

HRESULT DeviceBase::GetDeviceState(uint32_t size, void* data) {
  if (Intercept("GetDeviceState")) return E_FAIL;
  if (size != StateSize() || data == nullptr) return DIERR_INVALIDPARAM;
  if (!acquired_ || !CanAcquire()) {
    std::memset(data, 0, size);
    const bool lost = acquired_;
    acquired_ = false;
    return lost ? DIERR_INPUTLOST : DIERR_NOTACQUIRED;
  }
  Read(data);
  return DI_OK;
}

HRESULT DeviceBase::EnumObjects(EnumObjectsCallback callback, void* context, uint32_t flags) {
  if (Intercept("EnumObjects")) return E_FAIL;
  if (callback == nullptr) return DIERR_INVALIDPARAM;
  for (const DIDEVICEOBJECTINSTANCEA& object : Objects()) {
    if (flags != DIDFT_ALL && (object.dwType & flags) == 0) continue;
    if (callback(&object, context) == DIENUM_STOP) break;
  }
  return DI_OK;
}

HRESULT DeviceBase::SetProperty(DeviceProperty property, const DIPROPHEADER* header) {
  if (Intercept("SetProperty")) return E_FAIL;
  if (property != DeviceProperty::Range || header == nullptr ||
      header->dwSize != sizeof(DIPROPRANGE) || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
    return DIERR_INVALIDPARAM;
  }
  const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
  if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
  return SetRange(*range);
}

}  // namespace vtrak
