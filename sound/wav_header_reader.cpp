#include "sound/wav_header_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/core/file_descriptor.h"

namespace vtrak {

bool BlockReader::Refill() {
  at_ = 0;
  end_ = ReadFully(fd_, block_.get(), kBlockBytes);
  return end_ > 0;
}

bool BlockReader::Next(uint8_t& byte) {
  if (at_ == end_ && !Refill()) return false;
  byte = block_[at_++];
  ++offset_;
  return true;
}

bool BlockReader::SkipPast(uint8_t first, uint8_t second) {
  bool afterFirst = false;
  for (;;) {
    if (afterFirst) {
      uint8_t byte = 0;
      if (!Next(byte)) return false;
      if (byte == second) return true;
      afterFirst = byte == first;
      continue;
    }
    // Nothing but `first` can start a pair: jump to the next one.
    if (at_ == end_ && !Refill()) return false;
    const auto* found =
        static_cast<const uint8_t*>(std::memchr(block_.get() + at_, first, end_ - at_));
    const size_t stop = found != nullptr ? static_cast<size_t>(found - block_.get()) + 1 : end_;
    offset_ += stop - at_;
    at_ = stop;
    afterFirst = found != nullptr;
  }
}

size_t BlockReader::Read(uint8_t* into, size_t size) {
  const size_t buffered = std::min(size, end_ - at_);
  std::memcpy(into, block_.get() + at_, buffered);
  at_ += buffered;
  const size_t direct = ReadFully(fd_, into + buffered, size - buffered);
  offset_ += buffered + direct;
  return buffered + direct;
}

namespace {

bool ReadBytes(BlockReader& reader, uint8_t* bytes, size_t count) {
  return reader.Read(bytes, count) == count;
}

uint32_t LittleEndian32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

}  // namespace

bool ReadWavHeader(BlockReader& reader, WavHeader& header) {
  uint8_t riff[12];
  if (!ReadBytes(reader, riff, 12)) return false;  // "RIFF", its size, "WAVE": unused
  if (!reader.SkipPast('t', ' ')) return false;    // "fmt "
  uint8_t format[20];
  if (!ReadBytes(reader, format, 20)) return false;
  // 0-3 chunk size, 4-5 format tag, 6-7 channels, 8-11 rate, 12-15 byte
  // rate, 16-17 block alignment, 18-19 bits: only channels, rate and bits
  // count, and of channels and bits only the low byte.
  header.channels = format[6];
  header.sampleRate = LittleEndian32(format + 8);
  header.bitsPerSample = format[18];
  if (!reader.SkipPast('t', 'a')) return false;  // "data", or the first 't','a' before it
  uint8_t length[4];
  if (!ReadBytes(reader, length, 4)) return false;
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
