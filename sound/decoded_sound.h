#pragma once
// The decoded sound of a conversion, gathered here: each piece is written on
// to the new WAV file, after room for its header, and kept in memory, so
// that the new buffer is filled from the same bytes rather than from the
// file read back, and the file is written while the decoder still works.
#include <cstddef>
#include <cstdint>

#include "sound/ogg_decode.h"

namespace vtrak {

class DecodedSound : public PcmSink {
 public:
  // `wavFd`: the new WAV file, empty, writable and seekable.
  explicit DecodedSound(int wavFd) : wavFd_(wavFd) {}
  ~DecodedSound() override;
  DecodedSound(const DecodedSound&) = delete;
  DecodedSound& operator=(const DecodedSound&) = delete;

  // The decoder's own way in.
  uint8_t* Room() override;
  bool Filled(size_t bytes) override;
  // The samples at `from`, as they came from a decoder elsewhere; false
  // with failure() set.
  bool Append(const uint8_t* from, size_t bytes);

  // The decoder is done and said it made `dataBytes` samples: writes what
  // the file still lacks and the header for `channels` at `rate` Hz; false
  // with failure() set, as DecoderLost when the samples here are not as
  // many.
  bool Finish(int32_t channels, int32_t rate, uint32_t dataBytes);

  uint64_t size() const { return size_; }
  // Puts the first `bytes` samples at `into` (a buffer of at least that
  // many bytes) and says how many it put: whole pages are moved there
  // rather than copied, where the system can move them; the samples are
  // gone from here after.
  size_t MoveTo(uint8_t* into, size_t bytes);

 private:
  // Room for `bytes` more; false with failure() set.
  bool MakeRoom(uint64_t bytes);
  // Writes the samples not yet in the file; false with failure() set.
  bool WritePending();

  int wavFd_;
  uint8_t* memory_ = nullptr;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
  uint64_t written_ = 0;
};

}  // namespace vtrak
