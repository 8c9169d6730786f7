// vtrak-tool sound PATH: loads a sound into slot 0 of a bank on an in-memory
// sound device, exactly as the game loads its music, and describes the buffer.
#include <zlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/core/child_process.h"
#include "platform/core/printable.h"
#include "platform/sound/memory_sound_device.h"
#include "sound/ogg_conversion.h"
#include "sound/sound_bank.h"
#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {
namespace {

// What a resource limit that an errno stands for asks of the user, or "".
const char* LimitAdvice(int error) {
  switch (error) {
    case EMFILE:
    case ENFILE:
      return " (the limit on open files is reached: close some, or raise it with ulimit -n)";
    case EAGAIN:
      return " (the limit on processes is reached: end some, or raise it with ulimit -u)";
    case ENOMEM:
      return " (out of memory)";
    case EOPNOTSUPP:
    case EISDIR:
      return " (its file system holds no file without a name, as vfat and NFS do not: use a folder "
             "on another)";
    default:
      return "";
  }
}

// Why slot 0 stayed empty, from the loader's own report; one line.
void ReportNoSound(const char* path, const SoundLoadReport& report) {
  const std::string shown = Printable(path);
  const char* name = shown.c_str();
  const char* why = std::strerror(report.detail);
  switch (report.error) {
    case SoundLoadError::CannotOpen:
      std::fprintf(stderr, "error: cannot open %s: %s%s\n", name, why,
                   *LimitAdvice(report.detail) != '\0' ? LimitAdvice(report.detail)
                                                       : ": check the path and its permissions");
      return;
    case SoundLoadError::NotARegularFile:
      std::fprintf(stderr,
                   "error: %s is not a regular file (a FIFO, a device or a folder): give a sound "
                   "file\n",
                   name);
      return;
    case SoundLoadError::NotOggVorbis:
      std::fprintf(stderr, "error: %s was not converted: it is not an Ogg Vorbis file\n", name);
      return;
    case SoundLoadError::CannotCreateResult:
      if (report.detail == ENOENT) {
        std::fprintf(stderr,
                     "error: %s was not converted: there is no data folder for %s (make one in "
                     "the current directory)\n",
                     name, kResultWavPath);
      } else {
        std::fprintf(stderr, "error: %s was not converted: cannot make a file in data/: %s%s\n",
                     name, why, LimitAdvice(report.detail));
      }
      return;
    case SoundLoadError::WriteFailed:
      std::fprintf(stderr, "error: %s was not converted: writing failed: %s; %s is unchanged\n",
                   name, why, kResultWavPath);
      return;
    case SoundLoadError::NotLoadable:
      std::fprintf(stderr,
                   "error: %s was not converted: its sound has %d channel(s) at %d Hz, and only 1 "
                   "or 2 channels at 100-200000 Hz can be loaded; %s is unchanged\n",
                   name, report.channels, report.rate, kResultWavPath);
      return;
    case SoundLoadError::TooLongToLoad:
      std::fprintf(stderr,
                   "error: %s was not converted: its sound is longer than can be loaded (256 MB, "
                   "25 minutes of stereo at 44100 Hz); %s is unchanged\n",
                   name, kResultWavPath);
      return;
    case SoundLoadError::OutOfMemory:
      if (report.resultRefused || IsOggVorbisName(path)) {
        std::fprintf(stderr, "error: %s was not converted: out of memory; %s is unchanged\n", name,
                     kResultWavPath);
      } else {
        std::fprintf(stderr, "error: %s gave no sound: out of memory for its sound\n", name);
      }
      return;
    case SoundLoadError::DecoderNotStarted:
      std::fprintf(stderr,
                   "error: %s was not converted: no process could be started to decode it: %s%s; "
                   "%s is unchanged\n",
                   name, why, LimitAdvice(report.detail), kResultWavPath);
      return;
    case SoundLoadError::DecoderStuck:
      std::fprintf(stderr,
                   "error: %s was not converted: the decoder made no progress through its "
                   "damaged stream; %s is unchanged\n",
                   name, kResultWavPath);
      return;
    case SoundLoadError::DecoderCrashed:
      if (!IsCrashSignal(report.detail)) {
        std::fprintf(stderr,
                     "error: %s was not converted: the decoding process was ended by a signal "
                     "(%s)%s; %s is unchanged\n",
                     name, strsignal(report.detail),
                     report.detail == SIGKILL
                         ? ", sent by the system when memory runs short or by a user"
                         : "",
                     kResultWavPath);
        return;
      }
      std::fprintf(stderr,
                   "error: %s was not converted: the decoder crashed on it (%s); the file is "
                   "damaged, and %s is unchanged\n",
                   name, strsignal(report.detail), kResultWavPath);
      return;
    case SoundLoadError::DecoderLost:
      std::fprintf(stderr,
                   "error: %s was not converted: the decoding process ended unexpectedly "
                   "(status %d); %s is unchanged\n",
                   name, report.detail, kResultWavPath);
      return;
    default:
      break;
  }
  const bool headerCut = report.error == SoundLoadError::HeaderCutShort;
  const char* refusal = headerCut ? "its WAV header ends early"
                                  : "its format or length is not 1-2 channels of 8 or 16 bits at "
                                    "100-200000 Hz, 4 bytes to 256 MB";
  if (report.resultRefused) {
    std::fprintf(stderr,
                 "error: %s was not converted: the loader refuses the result: %s; %s is "
                 "unchanged\n",
                 name, refusal, kResultWavPath);
    return;
  }
  std::fprintf(stderr, "error: %s gave no sound: %s\n", report.converted ? kResultWavPath : name,
               refusal);
}

// A chained stream is converted up to its first link of another format.
void NoteLinksLeftOut(const char* path, const SoundLoadReport& report) {
  if (!report.converted || report.nextChannels == 0) return;
  std::fprintf(stderr,
               "note: %s: converted the first %d link(s) of its chained stream; the next has %d "
               "channel(s) at %d Hz, unlike the first, and it and the rest were left out\n",
               Printable(path).c_str(), report.linksConverted, report.nextChannels,
               report.nextRate);
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
  if (argv[0][0] == '\0') {
    std::fputs("error: the sound's path is empty: name a sound file\n", stderr);
    return 1;
  }
  MemorySoundDevice device;
  const std::unique_ptr<SoundBank> bank(CreateSoundBank(nullptr, MemoryDirectSoundCreate8(device)));
  SoundLoadReport report;
  LoadSound(*bank, argv[0], 0, &report);
  NoteLinksLeftOut(argv[0], report);
  if (!bank->slots[0]) {
    ReportNoSound(argv[0], report);
    return 1;
  }
  return DescribeBuffer(*bank->slots[0]);
}

}  // namespace vtrak::tool
