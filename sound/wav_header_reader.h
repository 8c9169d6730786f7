#pragma once
// The WAV header reader. It does not walk the RIFF chunks: after the 12-byte
// RIFF header it scans for 't',' ' (the end of "fmt "), takes the channel
// count, sample rate and bits per sample from the 20 bytes that follow, then
// scans for 't','a' (the middle of "data") and takes the 4 bytes after it as
// the data length. The stream is then at the first byte of the sound data.
#include <cstdint>
#include <cstdio>

#include "platform/sound/sound_device.h"

namespace vtrak {

struct WavHeader {
  uint8_t channels = 0;  // low byte of the channel count
  uint32_t sampleRate = 0;
  uint8_t bitsPerSample = 0;  // low byte of the bits per sample
  uint32_t dataLength = 0;
};

// Reads the header a byte at a time. False when the file ends before both
// markers and the data length are read.
bool ReadWavHeader(std::FILE* file, WavHeader& header);

// Integer PCM whatever the file's format tag, with the block alignment and
// byte rate worked out from the channels, bits and rate.
WAVEFORMATEX DeriveWaveFormat(const WavHeader& header);

}  // namespace vtrak
