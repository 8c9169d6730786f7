#include "sound/ogg_conversion.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "platform/core/child_process.h"
#include "platform/core/held_signals.h"
#include "sound/ogg_decode.h"
#include "sound/sample_ring.h"
#include "sound/sound_file.h"

namespace vtrak {
namespace {

// Memory a decode needs for itself, with room to spare; a decoding process
// that cannot have it says so rather than crash in the decoder.
constexpr size_t kDecoderRoom = 16u << 20;

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The folder of "data/result.wav", and the start of its temporary files' names.
std::string ResultFolder() {
  const std::string_view path = kResultWavPath;
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? "." : std::string(path.substr(0, slash));
}
std::string_view TemporaryPrefix() {
  const std::string_view path = kResultWavPath;
  return path.substr(path.rfind('/') + 1);
}

// "result.wav." and the six letters or digits that mkostemp adds.
bool IsTemporaryName(std::string_view name) {
  const std::string_view prefix = TemporaryPrefix();
  if (name.size() != prefix.size() + 7 || name.substr(0, prefix.size()) != prefix ||
      name[prefix.size()] != '.') {
    return false;
  }
  for (const char c : name.substr(prefix.size() + 1)) {
    if (!(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z') && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the temporary files of conversions that were killed outright: the
// user's own regular files under such a name that no conversion holds
// locked. A running conversion keeps its lock from the file's making on.
void SweepAbandonedResults() {
  const std::string folder = ResultFolder();
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = readdir(listing)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    const std::string name = folder + "/" + entry->d_name;
    const FileDescriptor file(
        open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    struct stat named {};
    if (!file || fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_uid != geteuid() || flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
      continue;
    }
    if (lstat(name.c_str(), &named) == 0 && SameFile(opened, named)) unlink(name.c_str());
  }
  closedir(listing);
}

// A new file beside "data/result.wav", made exclusively (never through a
// link, never someone else's), with the mode a plain new file would get,
// and locked for its whole life. It is removed unless it replaced the old
// result.
class TemporaryResult {
 public:
  TemporaryResult() = default;
  ~TemporaryResult() {
    if (!name_.empty()) unlink(name_.c_str());
  }
  TemporaryResult(const TemporaryResult&) = delete;
  TemporaryResult& operator=(const TemporaryResult&) = delete;

  // False with errno set.
  bool Create() {
    for (int attempt = 0; attempt < 8; ++attempt) {
      std::string name = std::string(kResultWavPath) + ".XXXXXX";
      FileDescriptor file(mkostemp(name.data(), O_CLOEXEC));
      if (!file) return false;
      // The lock outlives the writing descriptor's close through a second one.
      struct stat made {};
      struct stat named {};
      FileDescriptor lock(flock(file.get(), LOCK_EX) == 0 ? fcntl(file.get(), F_DUPFD_CLOEXEC, 0)
                                                          : -1);
      if (!lock || fstat(file.get(), &made) != 0) {
        const int error = errno;
        unlink(name.c_str());
        errno = error;
        return false;
      }
      // A sweep may have taken the file between its making and the lock.
      if (lstat(name.c_str(), &named) != 0 || !SameFile(made, named)) continue;
      const mode_t mask = umask(0);
      umask(mask);
      fchmod(file.get(), 0666 & ~mask);
      name_ = std::move(name);
      file_ = std::move(file);
      lock_ = std::move(lock);
      return true;
    }
    errno = EEXIST;
    return false;
  }

  int fd() const { return file_.get(); }

  // Closes the file, then puts it in the old result's place; false with
  // errno set.
  bool Replace() {
    if (!file_.Close() || std::rename(name_.c_str(), kResultWavPath) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  std::string name_;
  FileDescriptor file_;
  FileDescriptor lock_;
};

// The memory for the decoder, taken and given back at once: where there is
// none, the decoder would fail in ways that look like a damaged file.
bool RoomToDecode() {
  auto* room = static_cast<volatile uint8_t*>(std::malloc(kDecoderRoom));
  if (room == nullptr) return false;
  room[0] = 0;
  std::free(const_cast<uint8_t*>(room));
  return true;
}

// The loader on the new result's samples, described as its header
// describes them, taken from memory rather than read back.
HRESULT LoadResult(SoundBank& bank, DecodedSound& decoded, const OggDecodeSummary& summary,
                   std::unique_ptr<DirectSoundBuffer8>& loaded, SoundLoadReport& load) {
  WavHeader header;
  header.channels = static_cast<uint8_t>(summary.channels);
  header.sampleRate = static_cast<uint32_t>(summary.rate);
  header.bitsPerSample = 16;
  header.dataLength = summary.dataBytes;
  return LoadWavData(
      bank, header,
      [&decoded](uint8_t* region, size_t bytes) { return decoded.MoveTo(region, bytes); }, loaded,
      load);
}

void Convert(SoundBank& bank, const char* path, int32_t slot, SoundLoadReport& out,
             OggDecodeRunner runDecode) {
  // Declared first, so that it goes last: a signal that arrived takes effect
  // only when the temporary file is gone.
  const HeldTerminationSignals held;
  bool notRegular = false;
  const FileDescriptor input = OpenSoundFile(path, out.detail, notRegular);
  if (!input) {
    out.error = notRegular ? SoundLoadError::NotARegularFile : SoundLoadError::CannotOpen;
    return;
  }
  SweepAbandonedResults();
  TemporaryResult temporary;
  if (!temporary.Create()) {
    out.error = SoundLoadError::CannotCreateResult;
    out.detail = errno;
    return;
  }

  DecodedSound decoded(temporary.fd());
  OggDecodeSummary summary = runDecode(input.get(), decoded, held.fd());
  if (summary.error == SoundLoadError::None &&
      !decoded.Finish(summary.channels, summary.rate, summary.dataBytes)) {
    summary.error = decoded.failure();
    summary.detail = decoded.failureDetail();
  }
  out.linksConverted = summary.linksConverted;
  out.nextChannels = summary.nextChannels;
  out.nextRate = summary.nextRate;
  out.channels = summary.channels;
  out.rate = summary.rate;
  if (const int signal = held.Arrived(); signal != 0) {
    out.error = SoundLoadError::Interrupted;
    out.detail = signal;
    return;
  }
  if (summary.error != SoundLoadError::None) {
    out.error = summary.error;
    out.detail = summary.detail;
    return;
  }

  // The loader's verdict on the new file comes before it replaces the old
  // one; without a sound device, the verdict of the rules every device keeps.
  std::unique_ptr<DirectSoundBuffer8> loaded;
  SoundLoadReport load;
  const bool loadable = Succeeded(LoadResult(bank, decoded, summary, loaded, load)) ||
                        load.error == SoundLoadError::NoSoundDevice;
  if (!loadable) {
    out.error = load.error != SoundLoadError::None ? load.error : SoundLoadError::WriteFailed;
    out.detail = load.error != SoundLoadError::None ? load.detail : errno;
    out.resultRefused = true;
    return;
  }
  if (const int signal = held.Arrived(); signal != 0) {
    out.error = SoundLoadError::Interrupted;
    out.detail = signal;
    return;
  }
  if (!temporary.Replace()) {
    out.error = SoundLoadError::WriteFailed;
    out.detail = errno;
    return;
  }
  out.converted = true;
  out.error = load.error;
  if (loaded && slot >= 0 && slot < kSoundSlotCount) {
    bank.slots[static_cast<size_t>(slot)] = std::move(loaded);
  }
}

}  // namespace

OggDecodeSummary DecodeInChildProcess(int inputFd, DecodedSound& output, int stopFd) {
  OggDecodeSummary summary;
  SampleRing ring;
  if (!ring.ok()) {
    summary.error =
        ring.error() == ENOMEM ? SoundLoadError::OutOfMemory : SoundLoadError::DecoderNotStarted;
    summary.detail = ring.error();
    return summary;
  }
  const ChildEnd end = RunStreamingChild(
      &summary, sizeof summary,
      [inputFd, &ring](void* result, int stream) {
        auto& into = *static_cast<OggDecodeSummary*>(result);
        if (RoomToDecode()) {
          SampleRing::Filler filler(ring, stream);
          into = DecodeOgg(inputFd, filler);
        } else {
          into.error = SoundLoadError::OutOfMemory;
        }
      },
      [&ring, &output](int stream) { return ring.Deliver(stream, output); }, stopFd);
  if (end.returned) return summary;
  summary = OggDecodeSummary{};
  if (end.refused) {
    summary.error = ring.failure();
    summary.detail = ring.failureDetail();
  } else if (!end.started) {
    summary.error = SoundLoadError::DecoderNotStarted;
    summary.detail = end.startError;
  } else if (end.stopped) {
    summary.error = SoundLoadError::Interrupted;
  } else if (end.signal != 0) {
    summary.error = SoundLoadError::DecoderCrashed;
    summary.detail = end.signal;
  } else {
    summary.error = SoundLoadError::DecoderLost;
    summary.detail = end.exitStatus;
  }
  return summary;
}

bool IsOggVorbisName(const char* path) {
  const size_t length = std::strlen(path);
  return length >= 2 && path[length - 2] == 'g';
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
