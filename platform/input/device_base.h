#pragma once
// What every input device stand-in shares: the data format it must be given,
// acquisition (DI_OK when newly acquired, S_FALSE when already), reads that
// fail until acquired, and the object enumeration. A failed read leaves the
// caller's record zeroed, so a lost device reports no keys and no motion.
#include <vector>

#include "platform/input/input_devices.h"

namespace vtrak {

class DeviceBase : public DirectInputDevice8 {
 public:
  HRESULT SetDataFormat(DataFormat format) override;
  HRESULT SetCooperativeLevel(Window* window, uint32_t flags) override;
  HRESULT Acquire() override;
  HRESULT GetDeviceState(uint32_t size, void* data) override;
  HRESULT EnumObjects(EnumObjectsCallback callback, void* context, uint32_t flags) override;
  HRESULT SetProperty(DeviceProperty property, const DIPROPHEADER* header) override;

 protected:
  // Called first by every operation with its name; true makes it fail with E_FAIL.
  virtual bool Intercept(const char* /*operation*/) { return false; }
  // Whether the device can be acquired now (focus, attachment, ...).
  virtual bool CanAcquire() const { return true; }
  virtual void OnAcquired() {}
  virtual DataFormat Format() const = 0;
  virtual uint32_t StateSize() const = 0;
  virtual void Read(void* data) = 0;
  virtual std::vector<DIDEVICEOBJECTINSTANCEA> Objects() const { return {}; }
  virtual HRESULT SetRange(const DIPROPRANGE& /*range*/) { return DIERR_INVALIDPARAM; }

  Window* window_ = nullptr;
  uint32_t cooperativeLevel_ = 0;

 private:
  bool hasFormat_ = false;
  bool acquired_ = false;
};

}  // namespace vtrak
