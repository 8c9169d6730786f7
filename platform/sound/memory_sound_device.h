#pragma once
// A sound device that plays nothing: its buffers live in memory and record
// what was asked of them. For the tests and the tool.
#include <cstdint>
#include <memory>

#include "platform/sound/sound_buffer_memory.h"
#include "platform/sound/sound_device.h"

namespace vtrak {

// The settings and the record of one in-memory device. It must outlive the
// DirectSound object and every buffer made from it.
struct MemorySoundDevice {
  // Failures to stage.
  bool refuseCreateBuffer = false;
  bool refuseQueryInterface = false;
  bool refuseLock = false;
  // The largest buffer it makes, at most the real limit; a fuzzer lowers it
  // to stay fast.
  uint32_t maxBufferBytes = DSBSIZE_MAX;
  // What happened.
  const void* cooperativeWindow = nullptr;
  uint32_t cooperativeLevel = 0;
  int buffersCreated = 0;
  int buffersAlive = 0;
};

// Everything asked of one buffer since its creation.
struct MemoryBufferRecord {
  bool playing = false;
  bool looping = false;
  int32_t volume = 0;
  int32_t pan = 0;
  uint32_t position = 0;
  int unlocks = 0;
  int stops = 0;
};

class MemorySoundBuffer final : public DirectSoundBuffer8 {
 public:
  MemorySoundBuffer(MemorySoundDevice& device, SoundBufferMemory memory);
  ~MemorySoundBuffer() override;
  MemorySoundBuffer(const MemorySoundBuffer&) = delete;
  MemorySoundBuffer& operator=(const MemorySoundBuffer&) = delete;

  HRESULT GetFormat(WAVEFORMATEX* format) override;
  HRESULT GetCaps(DSBCAPS* caps) override;
  HRESULT GetStatus(uint32_t* status) override;
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* region1Bytes,
               void** region2, uint32_t* region2Bytes, uint32_t flags) override;
  HRESULT Unlock(void* region1, uint32_t region1Bytes, void* region2,
                 uint32_t region2Bytes) override;
  HRESULT Stop() override;
  HRESULT SetVolume(int32_t volume) override;
  HRESULT SetPan(int32_t pan) override;
  HRESULT SetCurrentPosition(uint32_t position) override;
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;

  const SoundBufferMemory& memory() const { return memory_; }
  const MemoryBufferRecord& record() const { return record_; }

 private:
  MemorySoundDevice& device_;
  SoundBufferMemory memory_;
  MemoryBufferRecord record_;
};

HRESULT CreateMemoryDirectSound(MemorySoundDevice& device, std::unique_ptr<DirectSound8>& result);

// A DirectSoundCreate8 that yields an in-memory device recording into `device`.
DirectSoundCreate8Function MemoryDirectSoundCreate8(MemorySoundDevice& device);

// A DirectSoundCreate8 for a machine without a sound card: always DSERR_NODRIVER.
HRESULT NoDeviceDirectSoundCreate8(std::unique_ptr<DirectSound8>& result);

}  // namespace vtrak
