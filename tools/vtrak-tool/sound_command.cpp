// vtrak-tool sound PATH: loads a sound into slot 0 of a bank on an in-memory
// sound device, exactly as the game loads its music, and describes the buffer.
#include <sys/stat.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/sound/memory_sound_device.h"
#include "sound/ogg_conversion.h"
#include "sound/sound_bank.h"
#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {
namespace {

bool Readable(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// What identifies one version of a file: a conversion writes a new one.
struct FileVersion {
  bool exists = false;
  ino_t inode = 0;
  timespec modified{};
  off_t size = 0;

  static FileVersion Of(const char* path) {
    struct stat info {};
    if (stat(path, &info) != 0) return {};
    return {true, info.st_ino, info.st_mtim, info.st_size};
  }
  bool operator==(const FileVersion& other) const {
    return exists == other.exists && inode == other.inode &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           size == other.size;
  }
};

// Why slot 0 stayed empty, as far as can be told from outside the loader.
// `resultBefore` is data/result.wav as it was before the load.
void ReportNoSound(const char* path, const FileVersion& resultBefore) {
  if (!Readable(path)) {
    std::fprintf(stderr, "error: cannot open %s: check the path and its permissions\n", path);
  } else if (IsOggVorbisName(path) && !std::filesystem::is_directory("data")) {
    std::fprintf(stderr,
                 "error: %s was not converted: there is no data folder for %s (make one in the "
                 "current directory)\n",
                 path, kResultWavPath);
  } else if (IsOggVorbisName(path) && FileVersion::Of(kResultWavPath) == resultBefore) {
    std::fprintf(stderr,
                 "error: %s was not converted: it is not an Ogg Vorbis file, or %s cannot be "
                 "written\n",
                 path, kResultWavPath);
  } else {
    std::fprintf(stderr,
                 "error: %s gave no sound: the header ends early, or its format or length is "
                 "not 1-2 channels of 8 or 16 bits at 100-200000 Hz, 4 bytes to 256 MB\n",
                 IsOggVorbisName(path) ? kResultWavPath : path);
  }
}

int DescribeBuffer(DirectSoundBuffer8& buffer) {
  WAVEFORMATEX format{};
  DSBCAPS caps{};
  void* region = nullptr;
  uint32_t regionBytes = 0;
  if (Failed(buffer.GetFormat(&format)) || Failed(buffer.GetCaps(&caps)) ||
      Failed(buffer.Lock(0, 0, &region, &regionBytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
    std::fputs("error: the loaded buffer cannot be read back\n", stderr);
    return 1;
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, static_cast<const Bytef*>(region), regionBytes);
  buffer.Unlock(region, regionBytes, nullptr, 0);
  std::printf("channels=%u rate=%u bits=%u blockAlign=%u bytesPerSecond=%u length=%u crc32=%08lx\n",
              static_cast<unsigned>(format.nChannels), static_cast<unsigned>(format.nSamplesPerSec),
              static_cast<unsigned>(format.wBitsPerSample),
              static_cast<unsigned>(format.nBlockAlign),
              static_cast<unsigned>(format.nAvgBytesPerSec),
              static_cast<unsigned>(caps.dwBufferBytes), static_cast<unsigned long>(crc));
  return 0;
}

}  // namespace

int RunSoundCommand(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("error: usage: vtrak-tool sound PATH\n", stderr);
    return 1;
  }
  MemorySoundDevice device;
  const std::unique_ptr<SoundBank> bank(CreateSoundBank(nullptr, MemoryDirectSoundCreate8(device)));
  const FileVersion resultBefore = FileVersion::Of(kResultWavPath);
  LoadSound(*bank, argv[0], 0);
  if (!bank->slots[0]) {
    ReportNoSound(argv[0], resultBefore);
    return 1;
  }
  return DescribeBuffer(*bank->slots[0]);
}

}  // namespace vtrak::tool
