#include "platform/sound/sound_buffer_memory.h"

#include <cstring>
#include <new>

namespace vtrak {

HRESULT CheckBufferDescription(const DSBUFFERDESC* description, uint32_t& bytes) {
  if (description == nullptr || description->dwSize != kDsBufferDescSize ||
      description->lpwfxFormat == nullptr) {
    return DSERR_INVALIDPARAM;
  }
  const WAVEFORMATEX& format = *description->lpwfxFormat;
  if (format.wFormatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
  if (format.nChannels < 1 || format.nChannels > 2) return DSERR_BADFORMAT;
  if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return DSERR_BADFORMAT;
  if (format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
    return DSERR_BADFORMAT;
  }
  const uint32_t blockAlign = format.nChannels * format.wBitsPerSample / 8u;
  if (format.nBlockAlign != blockAlign ||
      format.nAvgBytesPerSec != blockAlign * format.nSamplesPerSec) {
    return DSERR_BADFORMAT;
  }
  const uint32_t requested = description->dwBufferBytes;
  if (requested < DSBSIZE_MIN || requested > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  bytes = (requested + blockAlign - 1u) / blockAlign * blockAlign;
  return DS_OK;
}

uint8_t SilenceByte(const WAVEFORMATEX& format) {
  return format.wBitsPerSample == 8 ? 0x80 : 0;
}

HRESULT SoundBufferMemory::Allocate(const WAVEFORMATEX& format, uint32_t bytes) {
  uint8_t* memory = new (std::nothrow) uint8_t[bytes];
  if (memory == nullptr) return DSERR_OUTOFMEMORY;
  memory_.reset(memory);
  format_ = format;
  size_ = bytes;
  locked_ = false;
  silenceOwed_ = true;
  return DS_OK;
}

void SoundBufferMemory::WriteSilence(uint32_t from, uint32_t to) const {
  if (!silenceOwed_ || memory_ == nullptr) return;
  std::memset(memory_.get() + from, SilenceByte(format_), to - from);
}

HRESULT SoundBufferMemory::Lock(uint32_t offset, uint32_t bytes, void** region1,
                                uint32_t* region1Bytes, void** region2, uint32_t* region2Bytes,
                                uint32_t flags) {
  if (region1 == nullptr || region1Bytes == nullptr || locked_) return DSERR_INVALIDPARAM;
  if ((flags & DSBLOCK_ENTIREBUFFER) != 0) {
    offset = 0;
    bytes = size_;
  }
  if (offset >= size_ || bytes == 0 || bytes > size_) return DSERR_INVALIDPARAM;
  const uint32_t first = bytes < size_ - offset ? bytes : size_ - offset;
  const uint32_t second = bytes - first;
  if (second != 0 && (region2 == nullptr || region2Bytes == nullptr)) return DSERR_INVALIDPARAM;
  if ((flags & DSBLOCK_OVERWRITE) == 0) {
    WriteSilence(0, size_);
  } else {  // before the regions and after them; one of the two is empty
    WriteSilence(second, offset);
    WriteSilence(offset + first, size_);
  }
  silenceOwed_ = false;
  *region1 = memory_.get() + offset;
  *region1Bytes = first;
  if (region2 != nullptr) *region2 = second != 0 ? memory_.get() : nullptr;
  if (region2Bytes != nullptr) *region2Bytes = second;
  locked_ = true;
  return DS_OK;
}

HRESULT SoundBufferMemory::Unlock(void* region1, uint32_t region1Bytes, void*, uint32_t) {
  const auto start = reinterpret_cast<uintptr_t>(memory_.get());
  const auto first = reinterpret_cast<uintptr_t>(region1);
  if (!locked_ || first < start || first >= start + size_ || region1Bytes > start + size_ - first) {
    return DSERR_INVALIDPARAM;
  }
  locked_ = false;
  return DS_OK;
}

HRESULT InterimSoundBuffer::QueryInterface(const GUID& iid,
                                           std::unique_ptr<DirectSoundBuffer8>& result) {
  result.reset();
  if (refuseQuery_ || iid != IID_IDirectSoundBuffer8 || !buffer_) return E_NOINTERFACE;
  result = std::move(buffer_);
  return DS_OK;
}

}  // namespace vtrak
