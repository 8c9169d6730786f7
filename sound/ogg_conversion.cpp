#include "sound/ogg_conversion.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/child_process.h"
#include "sound/ogg_decode.h"
#include "sound/sound_file.h"

namespace vtrak {
namespace {

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A new file beside "data/result.wav", made exclusively (never through a
// link, never someone else's), with the mode a plain new file would get.
FileDescriptor CreateTemporaryResult(std::string& name) {
  name = std::string(kResultWavPath) + ".XXXXXX";
  FileDescriptor file(mkostemp(name.data(), O_CLOEXEC));
  if (!file) return {};
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(file.get(), 0666 & ~mask);
  return file;
}

// The decoder's own account of the file, checked against the file itself.
bool WholeResult(int fd, const OggDecodeSummary& summary) {
  struct stat status {};
  uint8_t header[44];
  return fstat(fd, &status) == 0 &&
         static_cast<uint64_t>(status.st_size) == 44u + uint64_t{summary.dataBytes} &&
         pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header) &&
         std::memcmp(header, "RIFF", 4) == 0 &&
         (header[40] | header[41] << 8 | header[42] << 16 | uint32_t{header[43]} << 24) ==
             summary.dataBytes;
}

}  // namespace

OggDecodeSummary DecodeInChildProcess(int inputFd, int outputFd) {
  OggDecodeSummary summary;
  const ChildEnd end = RunInChildProcess<OggDecodeSummary>(
      summary,
      [inputFd, outputFd](OggDecodeSummary& into) { into = DecodeOggToWav(inputFd, outputFd); });
  if (end.returned) return summary;
  summary = OggDecodeSummary{};
  if (end.signal != 0) {
    summary.error = SoundLoadError::DecoderCrashed;
    summary.detail = end.signal;
  } else {
    summary.error = SoundLoadError::DecoderLost;
    summary.detail = end.started ? end.exitStatus : -1;
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
  bool notRegular = false;
  const FileDescriptor input = OpenSoundFile(path, out.detail, notRegular);
  if (!input) {
    out.error = notRegular ? SoundLoadError::NotARegularFile : SoundLoadError::CannotOpen;
    return S_OK;
  }
  std::string temporary;
  FileDescriptor output = CreateTemporaryResult(temporary);
  if (!output) {
    out.error = SoundLoadError::CannotCreateResult;
    out.detail = errno;
    return S_OK;
  }

  OggDecodeSummary summary = runDecode(input.get(), output.get());
  if (summary.error == SoundLoadError::None && !WholeResult(output.get(), summary)) {
    summary.error = SoundLoadError::DecoderLost;
  }
  if (summary.error == SoundLoadError::None &&
      (!output.Close() || std::rename(temporary.c_str(), kResultWavPath) != 0)) {
    summary.error = SoundLoadError::WriteFailed;
    summary.detail = errno;
  }
  out.linksConverted = summary.linksConverted;
  out.nextChannels = summary.nextChannels;
  out.nextRate = summary.nextRate;
  if (summary.error != SoundLoadError::None) {
    out.error = summary.error;
    out.detail = summary.detail;
    unlink(temporary.c_str());
    return S_OK;
  }
  out.converted = true;
  LoadSound(bank, kResultWavPath, slot, &out);
  return S_OK;
}

}  // namespace vtrak
