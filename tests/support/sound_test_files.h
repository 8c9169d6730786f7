#pragma once
// Files the sound tests write for themselves: WAV files byte by byte, Ogg
// Vorbis files through libvorbisenc, and a working directory of their own.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace vtrak::test {

using Bytes = std::vector<uint8_t>;

void AppendLittleEndian(Bytes& out, uint32_t value, int bytes);
// The little-endian field of `bytes` bytes at `offset`.
uint32_t ReadLittleEndian(const Bytes& in, size_t offset, int bytes);
void AppendText(Bytes& out, const char* text);
void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

// The fields of a canonical 44-byte WAV header, free to disagree with each other.
struct WavFields {
  uint16_t formatTag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint32_t bytesPerSecond = 176400;
  uint16_t blockAlign = 4;
  uint16_t bitsPerSample = 16;
  uint32_t dataLength = 0;
};
Bytes CanonicalWavHeader(const WavFields& fields);
// A ramp of `count` bytes that no marker scan mistakes for anything.
Bytes RampBytes(size_t count);

// Encodes one logical stream of a sine tone (`frames` samples per channel)
// and appends its pages; appending a second stream makes a chained file.
void AppendOggStream(Bytes& out, int channels, long rate, long frames, int serial);

// Makes a fresh folder, works in it for the test's life, then removes it.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

 private:
  std::filesystem::path previous_;
  testing::TempFolder folder_;
};

}  // namespace vtrak::test
