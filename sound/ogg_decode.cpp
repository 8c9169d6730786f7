#define OV_EXCLUDE_STATIC_CALLBACKS
#include "sound/ogg_decode.h"

#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <cstdio>

#include "sound/ogg_conversion.h"
#include "sound/sound_file.h"

namespace vtrak {
namespace {

// Decoder errors in a row, without the decoder moving on through the file,
// after which the stream counts as unreadable rather than damaged.
constexpr int kStuckErrorLimit = 16;

bool SameFormat(const vorbis_info* a, const vorbis_info* b) {
  return a != nullptr && b != nullptr && a->channels == b->channels && a->rate == b->rate;
}

OggDecodeSummary Failure(SoundLoadError error, int detail = 0) {
  OggDecodeSummary summary;
  summary.error = error;
  summary.detail = detail;
  return summary;
}

OggDecodeSummary Decode(OggVorbis_File& decoder, int outputFd, uint64_t maxDataBytes) {
  const vorbis_info* first = ov_info(&decoder, -1);
  if (first == nullptr) return Failure(SoundLoadError::NotOggVorbis);
  uint8_t header[44];
  BuildCanonicalWavHeader(header, first->channels, static_cast<int32_t>(first->rate), 0);
  if (!WriteFully(outputFd, header, sizeof header)) {
    return Failure(SoundLoadError::WriteFailed, errno);
  }

  OggDecodeSummary summary;
  summary.linksConverted = 1;
  uint64_t written = 0;
  int link = -1;
  int stuckErrors = 0;
  ogg_int64_t lastErrorAt = -1;
  char block[kPcmBlockBytes];
  for (;;) {
    int bitstream = 0;
    const long bytes = ov_read(&decoder, block, kPcmBlockBytes, 0, 2, 1, &bitstream);
    if (bytes == 0) break;
    if (bytes < 0) {
      // A gap or a damaged part is skipped; an error that leaves the
      // decoder where it was, again and again, ends the conversion.
      const ogg_int64_t at = ov_raw_tell(&decoder);
      stuckErrors = at == lastErrorAt ? stuckErrors + 1 : 0;
      lastErrorAt = at;
      if (stuckErrors >= kStuckErrorLimit) return Failure(SoundLoadError::DecoderStuck);
      continue;
    }
    stuckErrors = 0;
    if (bitstream != link) {
      const vorbis_info* current = ov_info(&decoder, bitstream);
      if (!SameFormat(first, current)) {
        summary.nextChannels = current != nullptr ? current->channels : 0;
        summary.nextRate = current != nullptr ? static_cast<int32_t>(current->rate) : 0;
        break;
      }
      if (link != -1) ++summary.linksConverted;
      link = bitstream;
    }
    if (written + static_cast<uint64_t>(bytes) > maxDataBytes) {
      return Failure(SoundLoadError::TooLongForWav);
    }
    if (!WriteFully(outputFd, reinterpret_cast<const uint8_t*>(block),
                    static_cast<size_t>(bytes))) {
      return Failure(SoundLoadError::WriteFailed, errno);
    }
    written += static_cast<uint64_t>(bytes);
  }

  summary.dataBytes = static_cast<uint32_t>(written);
  BuildCanonicalWavHeader(header, first->channels, static_cast<int32_t>(first->rate),
                          summary.dataBytes);
  if (pwrite(outputFd, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header)) {
    return Failure(SoundLoadError::WriteFailed, errno != 0 ? errno : EIO);
  }
  return summary;
}

}  // namespace

OggToWavDecoder::OggToWavDecoder() : decoder_(std::make_unique<OggVorbis_File>()) {}

OggToWavDecoder::~OggToWavDecoder() {
  if (held_) ov_clear(decoder_.get());
}

OggDecodeSummary OggToWavDecoder::Run(int inputFd, int outputFd, uint64_t maxDataBytes) {
  // The decoder reads through a stdio stream of its own, on a copy of the
  // descriptor, and ov_clear closes it.
  const int copy = dup(inputFd);
  std::FILE* input = copy >= 0 ? fdopen(copy, "rb") : nullptr;
  if (input == nullptr) {
    if (copy >= 0) close(copy);
    return Failure(SoundLoadError::CannotOpen, errno);
  }
  held_ = true;  // from here, even a crash inside ov_open leaves state to free
  if (ov_open(input, decoder_.get(), nullptr, 0) < 0) {
    held_ = false;
    std::fclose(input);  // a failed open leaves the stream to its caller
    return Failure(SoundLoadError::NotOggVorbis);
  }
  return Decode(*decoder_, outputFd, maxDataBytes);
}

OggDecodeSummary DecodeOggToWav(int inputFd, int outputFd, uint64_t maxDataBytes) {
  OggToWavDecoder decoder;
  return decoder.Run(inputFd, outputFd, maxDataBytes);
}

}  // namespace vtrak
