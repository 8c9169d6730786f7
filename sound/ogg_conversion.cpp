#include "sound/ogg_conversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "platform/core/child_process.h"
#include "platform/core/file_descriptor.h"

namespace vtrak {
namespace {

constexpr off_t kHeaderBytes = 44;
// Memory a decode needs for itself, with room to spare; a decoding process
// that cannot have it says so rather than crash in the decoder.
constexpr size_t kDecoderRoom = 16u << 20;

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The memory for the decoder, taken and given back at once: where there is
// none, the decoder would fail in ways that look like a damaged file.
bool RoomToDecode() {
  auto* room = static_cast<volatile uint8_t*>(std::malloc(kDecoderRoom));
  if (room == nullptr) return false;
  room[0] = 0;
  std::free(const_cast<uint8_t*>(room));
  return true;
}

// A new file in the folder of "data/result.wav" that has no name: however
// the conversion ends, the system removes it, unless it was given the
// result's name. Its mode is the one a plain new file gets.
FileDescriptor MakeUnnamedResult() {
  const std::string_view path = kResultWavPath;
  const std::string folder(path.substr(0, path.rfind('/')));
  return FileDescriptor(open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666));
}

// Puts the unnamed file open at `fd` in the old result's place: a name of its
// own first, which the rename then moves, with every signal held in between
// so that none leaves the name behind. False with errno set.
bool ReplaceResult(int fd) {
  const std::string name = std::string(kResultWavPath) + "." + std::to_string(getpid());
  const std::string opened = "/proc/self/fd/" + std::to_string(fd);
  sigset_t all;
  sigset_t saved;
  sigfillset(&all);
  sigprocmask(SIG_BLOCK, &all, &saved);
  bool replaced = linkat(AT_FDCWD, opened.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  if (replaced && std::rename(name.c_str(), kResultWavPath) != 0) {
    const int error = errno;
    unlink(name.c_str());
    errno = error;
    replaced = false;
  }
  const int error = errno;
  sigprocmask(SIG_SETMASK, &saved, nullptr);
  errno = error;
  return replaced;
}

void Fail(SoundLoadReport& out, SoundLoadError error, int detail) {
  out.error = error;
  out.detail = detail;
}

void Convert(SoundBank& bank, const char* path, int32_t slot, SoundLoadReport& out,
             OggDecodeRunner runDecode) {
  bool notRegular = false;
  const FileDescriptor input = OpenRegularFile(path, out.detail, notRegular);
  if (!input) {
    out.error = notRegular ? SoundLoadError::NotARegularFile : SoundLoadError::CannotOpen;
    return;
  }
  const FileDescriptor result = MakeUnnamedResult();
  if (!result || lseek(result.get(), kHeaderBytes, SEEK_SET) != kHeaderBytes) {
    return Fail(out, SoundLoadError::CannotCreateResult, errno);
  }

  const OggDecodeSummary summary = runDecode(input.get(), result.get());
  out.linksConverted = summary.linksConverted;
  out.nextChannels = summary.nextChannels;
  out.nextRate = summary.nextRate;
  out.channels = summary.channels;
  out.rate = summary.rate;
  if (summary.error != SoundLoadError::None) return Fail(out, summary.error, summary.detail);
  // The decoder's word on what it wrote is taken only when the file agrees.
  struct stat written = {};
  if (fstat(result.get(), &written) != 0 ||
      written.st_size != kHeaderBytes + off_t{summary.dataBytes} ||
      summary.dataBytes > kMaxLoadableDataBytes) {
    return Fail(out, SoundLoadError::DecoderLost, 0);
  }
  uint8_t header[kHeaderBytes];
  BuildCanonicalWavHeader(header, summary.channels, summary.rate, summary.dataBytes);
  errno = 0;
  if (pwrite(result.get(), header, sizeof header, 0) != kHeaderBytes ||
      lseek(result.get(), 0, SEEK_SET) != 0) {
    return Fail(out, SoundLoadError::WriteFailed, errno != 0 ? errno : ENOSPC);
  }

  // The loader's verdict on the new file comes before it replaces the old
  // one; without a sound device, the verdict of the rules every device keeps.
  std::unique_ptr<DirectSoundBuffer8> loaded;
  SoundLoadReport load;
  if (Failed(LoadWavFile(bank, result.get(), loaded, load)) &&
      load.error != SoundLoadError::NoSoundDevice) {
    out.resultRefused = true;
    return Fail(out, load.error, load.detail);
  }
  if (!ReplaceResult(result.get())) return Fail(out, SoundLoadError::WriteFailed, errno);
  out.converted = true;
  out.error = load.error;
  if (loaded && slot >= 0 && slot < kSoundSlotCount) {
    bank.slots[static_cast<size_t>(slot)] = std::move(loaded);
  }
}

}  // namespace

OggDecodeSummary DecodeInChildProcess(int inputFd, int outputFd) {
  OggDecodeSummary summary;
  const ChildEnd end = RunInChildProcess(&summary, sizeof summary, [inputFd, outputFd](void* into) {
    auto& decoded = *static_cast<OggDecodeSummary*>(into);
    if (RoomToDecode()) {
      decoded = DecodeOgg(inputFd, outputFd);
    } else {
      decoded.error = SoundLoadError::OutOfMemory;
    }
  });
  if (end.returned) return summary;
  summary = OggDecodeSummary{};
  if (!end.started) {
    summary.error = SoundLoadError::DecoderNotStarted;
    summary.detail = end.startError;
  } else if (end.signal != 0) {
    summary.error = SoundLoadError::DecoderCrashed;
    summary.detail = end.signal;
  } else {
    summary.error = SoundLoadError::DecoderLost;
    summary.detail = end.exitStatus;
  }
  return summary;
}

void BuildCanonicalWavHeader(uint8_t header[44], int32_t channels, int32_t rate,
                             uint32_t dataBytes) {
  const uint32_t channelCount = static_cast<uint32_t>(channels);
  const uint16_t blockAlign = static_cast<uint16_t>((channelCount & 0xFFFFu) * 2u);
  const uint32_t bytesPerSecond = blockAlign * static_cast<uint32_t>(rate);
  std::memcpy(header, "RIFF", 4);
  PutLittleEndian(header + 4, dataBytes + 36u, 4);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  PutLittleEndian(header + 16, 16, 4);
  PutLittleEndian(header + 20, WAVE_FORMAT_PCM, 2);
  PutLittleEndian(header + 22, channelCount & 0xFFFFu, 2);
  PutLittleEndian(header + 24, static_cast<uint32_t>(rate), 4);
  PutLittleEndian(header + 28, bytesPerSecond, 4);
  PutLittleEndian(header + 32, blockAlign, 2);
  PutLittleEndian(header + 34, 16, 2);
  std::memcpy(header + 36, "data", 4);
  PutLittleEndian(header + 40, dataBytes, 4);
}

HRESULT ConvertOggToWav(SoundBank& bank, const char* path, int32_t slot, SoundLoadReport* report,
                        OggDecodeRunner runDecode) {
  SoundLoadReport local;
  SoundLoadReport& out = report != nullptr ? *report : local;
  out = SoundLoadReport{};
  try {
    Convert(bank, path, slot, out, runDecode);
  } catch (const std::bad_alloc&) {
    out.error = SoundLoadError::OutOfMemory;
  }
  return S_OK;
}

}  // namespace vtrak
