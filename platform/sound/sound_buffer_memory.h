#pragma once
// What every sound device does alike for a secondary buffer: the check of a
// buffer description, and the buffer's memory with its Lock and Unlock.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/sound/sound_device.h"

namespace vtrak {

// DS_OK when the device can hold the described buffer: integer PCM of 1 or 2
// channels, 8 or 16 bits, 100..200000 Hz, a consistent block alignment and
// byte rate, and 4..0x0FFFFFFF bytes. `bytes` is then the buffer's size, the
// requested length rounded up to whole blocks.
HRESULT CheckBufferDescription(const DSBUFFERDESC* description, uint32_t& bytes);

// The byte that is silence in this format: 0x80 for 8-bit samples, else 0.
uint8_t SilenceByte(const WAVEFORMATEX& format);

class SoundBufferMemory {
 public:
  // Takes `bytes` bytes of silence; DSERR_OUTOFMEMORY when there is no room.
  // The silence is written when the memory is first read or locked, and a
  // first Lock with DSBLOCK_OVERWRITE writes it only outside its regions, so
  // that a load does not write every byte twice.
  HRESULT Allocate(const WAVEFORMATEX& format, uint32_t bytes);

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* region1Bytes,
               void** region2, uint32_t* region2Bytes, uint32_t flags);
  // DSERR_INVALIDPARAM unless the buffer is locked and region1 is what Lock gave.
  HRESULT Unlock(void* region1, uint32_t region1Bytes, void* region2, uint32_t region2Bytes);

  const WAVEFORMATEX& format() const { return format_; }
  const uint8_t* data() const {
    WriteSilence(0, size_);
    return memory_.get();
  }
  uint32_t size() const { return size_; }
  bool locked() const { return locked_; }

 private:
  // Silence over [from, to) while it is still owed.
  void WriteSilence(uint32_t from, uint32_t to) const;

  WAVEFORMATEX format_{};
  std::unique_ptr<uint8_t[]> memory_;
  uint32_t size_ = 0;
  bool locked_ = false;
  // No byte has been written since Allocate: all of it is owed silence.
  mutable bool silenceOwed_ = false;
};

// The interim buffer both devices hand out from CreateSoundBuffer: it holds
// the new buffer until QueryInterface passes it on.
class InterimSoundBuffer final : public DirectSoundBuffer {
 public:
  InterimSoundBuffer(std::unique_ptr<DirectSoundBuffer8> buffer, bool refuseQuery)
      : buffer_(std::move(buffer)), refuseQuery_(refuseQuery) {}
  HRESULT QueryInterface(const GUID& iid, std::unique_ptr<DirectSoundBuffer8>& result) override;

 private:
  std::unique_ptr<DirectSoundBuffer8> buffer_;
  bool refuseQuery_;
};

}  // namespace vtrak
