#pragma once
// The decoded sound of a conversion as the decoding process hands it over:
// each piece is written on to the new WAV file, after room for its header,
// and kept in memory, so that the new buffer is filled from the same bytes
// rather than from the file read back, and the file is written while the
// decoder still works.
#include <cstddef>
#include <cstdint>

#include "platform/core/child_process.h"
#include "sound/sound_load_report.h"

namespace vtrak {

class DecodedSound {
 public:
  // `wavFd`: the new WAV file, empty, writable and seekable.
  explicit DecodedSound(int wavFd) : wavFd_(wavFd) {}
  ~DecodedSound();
  DecodedSound(const DecodedSound&) = delete;
  DecodedSound& operator=(const DecodedSound&) = delete;

  int wavFd() const { return wavFd_; }

  // Takes what waits in `stream` (bare samples): Ended at its end, Refused
  // when the file or memory can take no more (failure() says why) or more
  // has come than `maxBytes`.
  StreamState Take(int stream, uint64_t maxBytes);

  // Writes what is left and the header for `channels` at `rate` Hz and the
  // samples that arrived; false with failure() set.
  bool Finish(int32_t channels, int32_t rate);

  // True when the samples came through Take: they are then held here.
  bool kept() const { return kept_; }
  uint64_t size() const { return size_; }
  // Puts the first `bytes` samples at `into` (a buffer of at least that
  // many bytes) and says how many it put: whole pages are moved there
  // rather than copied, where the system can move them; the samples are
  // gone from here after.
  size_t MoveTo(uint8_t* into, size_t bytes);
  SoundLoadError failure() const { return failure_; }
  int failureDetail() const { return failureDetail_; }

 private:
  bool Fail(SoundLoadError error, int detail);
  // Writes the samples not yet in the file; false with failure() set.
  bool WritePending();

  // More room, in pages of its own: memory from the heap may be shared with
  // the decoding process, and each page written would be copied first.
  bool Grow();

  int wavFd_;
  uint8_t* memory_ = nullptr;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
  uint64_t written_ = 0;
  bool kept_ = false;
  SoundLoadError failure_ = SoundLoadError::None;
  int failureDetail_ = 0;
};

}  // namespace vtrak
