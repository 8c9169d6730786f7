// LoadSound's WAV way on the in-memory sound device, fed any bytes as a file.
// Besides the sanitizers it checks what a load promises: success fills the
// slot, failure empties it, a reload releases the old buffer, and a filled
// buffer holds the bytes after the header followed by silence.
#include <fcntl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_scratch.h"
#include "platform/core/file_descriptor.h"
#include "platform/sound/memory_sound_device.h"
#include "sound/sound_bank.h"
#include "sound/wav_header_reader.h"

namespace {

constexpr const char* kInputName = "input.wav";
// Buffers up to 64 KiB: enough for every header shape and a tail of
// silence, small enough that a stated length costs no time to fill.
constexpr uint32_t kBufferLimit = 64u << 10;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_wav_load: %s\n", what);
  __builtin_trap();
}

// Where the sound data start, as the header reader leaves the file, and
// the data length it read; -1 when the header is cut off.
long DataOffset(uint32_t& dataLength) {
  const vtrak::FileDescriptor file(open(kInputName, O_RDONLY | O_CLOEXEC));
  Require(static_cast<bool>(file), "the input cannot be read back");
  vtrak::BlockReader reader(file.get());
  vtrak::WavHeader header;
  const long offset =
      vtrak::ReadWavHeader(reader, header) ? static_cast<long>(reader.offset()) : -1;
  dataLength = header.dataLength;
  return offset;
}

// The buffer holds the data length's bytes after the header, as far as the
// file has them, and silence after them (the buffer is whole blocks).
void CheckFilledBuffer(const vtrak::MemorySoundBuffer& buffer, const uint8_t* data, size_t size) {
  uint32_t dataLength = 0;
  const long offset = DataOffset(dataLength);
  Require(offset >= 0 && static_cast<size_t>(offset) <= size, "a load succeeded on a cut header");
  const vtrak::SoundBufferMemory& memory = buffer.memory();
  Require(memory.size() >= dataLength, "the buffer is shorter than the data length");
  const size_t copied = std::min<size_t>(size - static_cast<size_t>(offset), dataLength);
  Require(std::memcmp(memory.data(), data + offset, copied) == 0,
          "the buffer does not hold the bytes after the header");
  // The tail is compared a block at a time.
  static uint8_t silentBlock[2][65536];
  static const bool filled = (std::memset(silentBlock[1], 0x80, sizeof silentBlock[1]), true);
  (void)filled;
  const uint8_t* silence = silentBlock[vtrak::SilenceByte(memory.format()) == 0x80 ? 1 : 0];
  for (size_t at = copied; at < memory.size(); at += sizeof silentBlock[0]) {
    const size_t length = std::min(sizeof silentBlock[0], memory.size() - at);
    Require(std::memcmp(memory.data() + at, silence, length) == 0,
            "the buffer's tail is not silence");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vtrak::fuzz::EnterScratchFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vtrak::fuzz::WriteInput(kInputName, data, size)) return 0;
  vtrak::MemorySoundDevice device;
  device.maxBufferBytes = kBufferLimit;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));

  // The second round loads over the first.
  for (int round = 0; round < 2; ++round) {
    const vtrak::HRESULT result = vtrak::LoadSound(*bank, kInputName, 7);
    const auto* buffer = static_cast<const vtrak::MemorySoundBuffer*>(bank->slots[7].get());
    Require(vtrak::Succeeded(result) == (buffer != nullptr), "the result disagrees with the slot");
    Require(device.buffersAlive == (buffer != nullptr ? 1 : 0), "a reload kept the old buffer");
    if (buffer != nullptr) {
      Require(!buffer->memory().locked(), "the buffer was left locked");
      CheckFilledBuffer(*buffer, data, size);
    }
  }
  for (int slot = 0; slot < vtrak::kSoundSlotCount; ++slot) {
    Require(slot == 7 || !bank->slots[static_cast<size_t>(slot)], "another slot was touched");
  }
  return 0;
}
