#pragma once
// The WAV header reader. It does not walk the RIFF chunks: after the 12-byte
// RIFF header it scans for 't',' ' (the end of "fmt "), takes the channel
// count, sample rate and bits per sample from the 20 bytes that follow, then
// scans for 't','a' (the middle of "data") and takes the 4 bytes after it as
// the data length. The reader is then at the first byte of the sound data.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/sound/sound_device.h"

namespace vtrak {

struct WavHeader {
  uint8_t channels = 0;  // low byte of the channel count
  uint32_t sampleRate = 0;
  uint8_t bitsPerSample = 0;  // low byte of the bits per sample
  uint32_t dataLength = 0;
};

// Reads a file from its start in large blocks, so that a marker scan over a
// long stretch without markers costs about what copying the file costs.
// The block lives on the heap: the reader is a local of the loader, and a
// page's C stack is small (64 KiB by default in newer Emscripten).
class BlockReader {
 public:
  static constexpr size_t kBlockBytes = 128 * 1024;
  explicit BlockReader(int fd) : fd_(fd), block_(new uint8_t[kBlockBytes]) {}

  // One byte; false at the end of the file.
  bool Next(uint8_t& byte);
  // Reads until `first` is directly followed by `second`; both are consumed,
  // and the first byte read cannot complete a pair. False at the end.
  bool SkipPast(uint8_t first, uint8_t second);
  // Up to `size` further bytes; fewer only at the end of the file.
  size_t Read(uint8_t* into, size_t size);
  // Bytes consumed from the start of the file.
  uint64_t offset() const { return offset_; }

 private:
  bool Refill();

  int fd_;
  std::unique_ptr<uint8_t[]> block_;
  size_t at_ = 0;
  size_t end_ = 0;
  uint64_t offset_ = 0;
};

// False when the file ends before both markers and the data length are read.
bool ReadWavHeader(BlockReader& reader, WavHeader& header);

// Integer PCM whatever the file's format tag, with the block alignment and
// byte rate worked out from the channels, bits and rate.
WAVEFORMATEX DeriveWaveFormat(const WavHeader& header);

}  // namespace vtrak
