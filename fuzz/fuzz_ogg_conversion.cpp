// The Ogg Vorbis conversion fed any bytes as "input.ogg", in a working folder
// of its own with a data/ folder. Besides the sanitizers it checks that a
// file that is not Ogg Vorbis fills no slot and that a converted file starts
// with a whole WAV header.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "fuzz/fuzz_scratch.h"
#include "platform/sound/memory_sound_device.h"
#include "sound/ogg_conversion.h"
#include "sound/sound_bank.h"

namespace {

constexpr const char* kInputName = "input.ogg";
// Marks "data/result.wav" before each run, to see whether the run wrote it.
constexpr unsigned char kMarker[] = "not converted";

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_ogg_conversion: %s\n", what);
  __builtin_trap();
}

long long FileSize(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

bool StartsWithRiff(const char* path) {
  char start[4] = {};
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const size_t read = std::fread(start, 1, sizeof start, file);
  std::fclose(file);
  return read == sizeof start && start[0] == 'R' && start[1] == 'I' && start[2] == 'F' &&
         start[3] == 'F';
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vtrak::fuzz::EnterScratchFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vtrak::fuzz::WriteInput(kInputName, data, size) ||
      !vtrak::fuzz::WriteInput(vtrak::kResultWavPath, kMarker, sizeof kMarker)) {
    return 0;
  }
  vtrak::MemorySoundDevice device;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));

  Require(vtrak::LoadSound(*bank, kInputName, 3) == vtrak::S_OK, "the Ogg way returned a failure");
  const long long written = FileSize(vtrak::kResultWavPath);
  if (written == static_cast<long long>(sizeof kMarker)) {
    Require(!bank->slots[3], "a slot was filled without a conversion");
  } else {
    Require(written >= 44 && StartsWithRiff(vtrak::kResultWavPath),
            "the converted file has no whole header");
  }
  Require(device.buffersAlive <= 1, "more than one buffer is alive");
  return 0;
}
