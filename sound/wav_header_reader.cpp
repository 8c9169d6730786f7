#include "sound/wav_header_reader.h"

namespace vtrak {
namespace {

bool ReadByte(std::FILE* file, uint32_t& value) {
  const int byte = std::fgetc(file);
  if (byte == EOF) return false;
  value = static_cast<uint32_t>(byte);
  return true;
}

// Reads until `first` is directly followed by `second`; both are consumed.
bool SkipPast(std::FILE* file, uint32_t first, uint32_t second) {
  bool afterFirst = false;
  uint32_t byte = 0;
  while (ReadByte(file, byte)) {
    if (afterFirst && byte == second) return true;
    afterFirst = byte == first;
  }
  return false;
}

bool ReadBytes(std::FILE* file, uint32_t* bytes, int count) {
  for (int i = 0; i < count; ++i) {
    if (!ReadByte(file, bytes[i])) return false;
  }
  return true;
}

uint32_t LittleEndian32(const uint32_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
}

}  // namespace

bool ReadWavHeader(std::FILE* file, WavHeader& header) {
  uint32_t riff[12];
  if (!ReadBytes(file, riff, 12)) return false;  // "RIFF", its size, "WAVE": unused
  if (!SkipPast(file, 't', ' ')) return false;   // "fmt "
  uint32_t format[20];
  if (!ReadBytes(file, format, 20)) return false;
  // 0-3 chunk size, 4-5 format tag, 6-7 channels, 8-11 rate, 12-15 byte
  // rate, 16-17 block alignment, 18-19 bits: only channels, rate and bits
  // count, and of channels and bits only the low byte.
  header.channels = static_cast<uint8_t>(format[6]);
  header.sampleRate = LittleEndian32(format + 8);
  header.bitsPerSample = static_cast<uint8_t>(format[18]);
  if (!SkipPast(file, 't', 'a')) return false;  // "data", or the first 't','a' before it
  uint32_t length[4];
  if (!ReadBytes(file, length, 4)) return false;
  header.dataLength = LittleEndian32(length);
  return true;
}

WAVEFORMATEX DeriveWaveFormat(const WavHeader& header) {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = header.channels;
  format.nSamplesPerSec = header.sampleRate;
  format.nBlockAlign = static_cast<uint16_t>(header.channels * header.bitsPerSample / 8);
  format.nAvgBytesPerSec = format.nBlockAlign * header.sampleRate;  // unsigned: wraps
  format.wBitsPerSample = header.bitsPerSample;
  format.cbSize = 0;
  return format;
}

}  // namespace vtrak
