#pragma once
// The sound device stand-ins: the subset of DirectSound 8 that the sound bank
// uses, as small interfaces. The OpenAL implementation plays on the default
// playback device; the in-memory one serves the tests and the tool.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/result.h"

namespace vtrak {

inline constexpr HRESULT DS_OK = 0;
inline constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
inline constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
inline constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
inline constexpr HRESULT DSERR_GENERIC = E_FAIL;

inline constexpr uint32_t DSSCL_EXCLUSIVE = 3;
inline constexpr uint32_t DSBPLAY_LOOPING = 1;
inline constexpr uint32_t DSBLOCK_ENTIREBUFFER = 2;
// The stand-ins' own Lock flag: the caller writes every byte of the regions
// it is given, so what they held is not kept. A new buffer's silence is then
// written only where the caller does not write.
inline constexpr uint32_t DSBLOCK_OVERWRITE = 0x80000000u;
inline constexpr uint32_t DSBSTATUS_PLAYING = 1;
inline constexpr uint32_t DSBSTATUS_LOOPING = 4;

inline constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
inline constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
inline constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
inline constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;

// The smallest and largest buffer a device accepts, in bytes.
inline constexpr uint32_t DSBSIZE_MIN = 4;
inline constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
// The sample rates a device accepts.
inline constexpr uint32_t DSBFREQUENCY_MIN = 100;
inline constexpr uint32_t DSBFREQUENCY_MAX = 200000;

inline constexpr int32_t DSBVOLUME_MIN = -10000;  // hundredths of a decibel
inline constexpr int32_t DSBVOLUME_MAX = 0;
inline constexpr int32_t DSBPAN_LEFT = -10000;
inline constexpr int32_t DSBPAN_RIGHT = 10000;

inline constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct GUID {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  friend bool operator==(const GUID&, const GUID&) = default;
};

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr GUID IID_IDirectSoundBuffer8{
    0x6825A449, 0x7524, 0x4D82, {0x92, 0x0F, 0x50, 0xE3, 0x6A, 0xB3, 0xAB, 0x1E}};

struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};

// dwSize is the 32-bit layout's size, 36, whatever this build's pointer size.
inline constexpr uint32_t kDsBufferDescSize = 36;

struct DSBUFFERDESC {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwBufferBytes;
  uint32_t dwReserved;
  const WAVEFORMATEX* lpwfxFormat;
  GUID guid3DAlgorithm;
};

struct DSBCAPS {
  uint32_t dwFlags;
  uint32_t dwBufferBytes;
};

// A secondary buffer that holds one whole sound. Destroying it is Release.
class DirectSoundBuffer8 {
 public:
  virtual ~DirectSoundBuffer8() = default;
  // The format and size the buffer was created with.
  virtual HRESULT GetFormat(WAVEFORMATEX* format) = 0;
  virtual HRESULT GetCaps(DSBCAPS* caps) = 0;
  virtual HRESULT GetStatus(uint32_t* status) = 0;
  // Hands out the buffer's memory from `offset` for `bytes` bytes, in two
  // regions when the span passes the end; the second may be empty.
  virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* region1Bytes,
                       void** region2, uint32_t* region2Bytes, uint32_t flags) = 0;
  // Ends the lock; what was written is what plays from now on.
  virtual HRESULT Unlock(void* region1, uint32_t region1Bytes, void* region2,
                         uint32_t region2Bytes) = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT SetVolume(int32_t volume) = 0;  // hundredths of a decibel, 0 = full
  virtual HRESULT SetPan(int32_t pan) = 0;        // -10000 left .. 0 centre .. 10000 right
  virtual HRESULT SetCurrentPosition(uint32_t position) = 0;
  virtual HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
};

// The buffer as CreateSoundBuffer hands it out. QueryInterface for
// IID_IDirectSoundBuffer8 passes the buffer on to `result`; the interim keeps
// no part of it, so after the interim's release `result` is the only holder.
class DirectSoundBuffer {
 public:
  virtual ~DirectSoundBuffer() = default;
  virtual HRESULT QueryInterface(const GUID& iid, std::unique_ptr<DirectSoundBuffer8>& result) = 0;
};

// The DirectSound object of one playback device. Destroying it is Release.
class DirectSound8 {
 public:
  virtual ~DirectSound8() = default;
  virtual HRESULT SetCooperativeLevel(const void* window, uint32_t level) = 0;
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description,
                                    std::unique_ptr<DirectSoundBuffer>& buffer) = 0;
};

// DirectSoundCreate8 for the default playback device.
using DirectSoundCreate8Function = std::function<HRESULT(std::unique_ptr<DirectSound8>&)>;

}  // namespace vtrak
