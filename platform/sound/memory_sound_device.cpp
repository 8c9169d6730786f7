#include "platform/sound/memory_sound_device.h"

#include <utility>

namespace vtrak {
namespace {

class MemoryDirectSound final : public DirectSound8 {
 public:
  explicit MemoryDirectSound(MemorySoundDevice& device) : device_(device) {}

  HRESULT SetCooperativeLevel(const void* window, uint32_t level) override {
    device_.cooperativeWindow = window;
    device_.cooperativeLevel = level;
    return DS_OK;
  }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* description,
                            std::unique_ptr<DirectSoundBuffer>& buffer) override {
    buffer.reset();
    if (device_.refuseCreateBuffer) return DSERR_GENERIC;
    uint32_t bytes = 0;
    if (const HRESULT hr = CheckBufferDescription(description, bytes); Failed(hr)) return hr;
    if (description->dwBufferBytes > device_.maxBufferBytes) return DSERR_INVALIDPARAM;
    SoundBufferMemory memory;
    if (const HRESULT hr = memory.Allocate(*description->lpwfxFormat, bytes); Failed(hr)) {
      return hr;
    }
    buffer = std::make_unique<InterimSoundBuffer>(
        std::make_unique<MemorySoundBuffer>(device_, std::move(memory)),
        device_.refuseQueryInterface);
    return DS_OK;
  }

 private:
  MemorySoundDevice& device_;
};

}  // namespace

MemorySoundBuffer::MemorySoundBuffer(MemorySoundDevice& device, SoundBufferMemory memory)
    : device_(device), memory_(std::move(memory)) {
  ++device_.buffersCreated;
  ++device_.buffersAlive;
}

MemorySoundBuffer::~MemorySoundBuffer() {
  --device_.buffersAlive;
}

HRESULT MemorySoundBuffer::GetFormat(WAVEFORMATEX* format) {
  if (format == nullptr) return DSERR_INVALIDPARAM;
  *format = memory_.format();
  return DS_OK;
}

HRESULT MemorySoundBuffer::GetCaps(DSBCAPS* caps) {
  if (caps == nullptr) return DSERR_INVALIDPARAM;
  caps->dwFlags =
      DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
  caps->dwBufferBytes = memory_.size();
  return DS_OK;
}

HRESULT MemorySoundBuffer::GetStatus(uint32_t* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  *status = (record_.playing ? DSBSTATUS_PLAYING : 0u) |
            (record_.playing && record_.looping ? DSBSTATUS_LOOPING : 0u);
  return DS_OK;
}

HRESULT MemorySoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** region1,
                                uint32_t* region1Bytes, void** region2, uint32_t* region2Bytes,
                                uint32_t flags) {
  if (device_.refuseLock) return DSERR_INVALIDPARAM;
  return memory_.Lock(offset, bytes, region1, region1Bytes, region2, region2Bytes, flags);
}

HRESULT MemorySoundBuffer::Unlock(void* region1, uint32_t region1Bytes, void* region2,
                                  uint32_t region2Bytes) {
  const HRESULT hr = memory_.Unlock(region1, region1Bytes, region2, region2Bytes);
  if (Succeeded(hr)) ++record_.unlocks;
  return hr;
}

HRESULT MemorySoundBuffer::Stop() {
  record_.playing = false;
  ++record_.stops;
  return DS_OK;
}

HRESULT MemorySoundBuffer::SetVolume(int32_t volume) {
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  record_.volume = volume;
  return DS_OK;
}

HRESULT MemorySoundBuffer::SetPan(int32_t pan) {
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  record_.pan = pan;
  return DS_OK;
}

HRESULT MemorySoundBuffer::SetCurrentPosition(uint32_t position) {
  if (position >= memory_.size()) return DSERR_INVALIDPARAM;
  record_.position = position;
  return DS_OK;
}

HRESULT MemorySoundBuffer::Play(uint32_t, uint32_t, uint32_t flags) {
  record_.playing = true;
  record_.looping = (flags & DSBPLAY_LOOPING) != 0;
  return DS_OK;
}

HRESULT CreateMemoryDirectSound(MemorySoundDevice& device, std::unique_ptr<DirectSound8>& result) {
  result = std::make_unique<MemoryDirectSound>(device);
  return DS_OK;
}

DirectSoundCreate8Function MemoryDirectSoundCreate8(MemorySoundDevice& device) {
  return [&device](std::unique_ptr<DirectSound8>& result) {
    return CreateMemoryDirectSound(device, result);
  };
}

HRESULT NoDeviceDirectSoundCreate8(std::unique_ptr<DirectSound8>& result) {
  result.reset();
  return DSERR_NODRIVER;
}

}  // namespace vtrak
