#define OV_EXCLUDE_STATIC_CALLBACKS
#include "sound/ogg_decode.h"

#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <cstdio>
#include <new>

#include "platform/core/file_descriptor.h"
#include "sound/ogg_page_filter.h"

namespace vtrak {
namespace {

// Decoder errors in a row, without the decoder moving on through the file,
// after which the stream counts as unreadable rather than damaged.
constexpr int kStuckErrorLimit = 16;
// Samples gather until this many go to the output in one write.
constexpr size_t kWriteBytes = 64 * kPcmBlockBytes;

OggDecodeSummary Failure(SoundLoadError error, int detail = 0) {
  OggDecodeSummary summary;
  summary.error = error;
  summary.detail = detail;
  return summary;
}

// The decoder reads only forwards, through the page filter: with no seek,
// it never searches the file backwards for its last page, which costs time
// that grows with the square of a tail without pages.
size_t ReadPages(void* into, size_t size, size_t count, void* source) {
  auto* pages = static_cast<OggPageFilter*>(source);
  const size_t got = pages->Read(static_cast<uint8_t*>(into), size * count);
  errno = got == 0 && pages->failed() ? EIO : 0;  // 0 at the end: not an error
  return size == 0 ? 0 : got / size;
}

bool Loadable(const vorbis_info& format) {
  const int64_t rate = format.rate;  // a long: 32 bits on some targets
  return format.channels >= 1 && format.channels <= 2 && rate >= int64_t{DSBFREQUENCY_MIN} &&
         rate <= int64_t{DSBFREQUENCY_MAX};
}

// The samples gathered so far, written out; false with errno set.
bool WriteOut(int outputFd, const uint8_t* samples, size_t& gathered) {
  const bool written = WriteFully(outputFd, samples, gathered);
  gathered = 0;
  return written;
}

OggDecodeSummary Decode(OggVorbis_File& decoder, uint8_t* samples, int outputFd,
                        uint64_t maxDataBytes) {
  const vorbis_info* first = ov_info(&decoder, -1);
  if (first == nullptr) return Failure(SoundLoadError::NotOggVorbis);
  // Copied: a decoder reading forwards keeps each new link's format in the
  // same place.
  OggDecodeSummary summary;
  summary.channels = first->channels;
  summary.rate = static_cast<int32_t>(first->rate);
  if (!Loadable(*first)) {
    summary.error = SoundLoadError::NotLoadable;
    return summary;
  }

  summary.linksConverted = 1;
  uint64_t written = 0;
  int link = -1;
  int stuckErrors = 0;
  ogg_int64_t lastErrorAt = -1;
  size_t gathered = 0;
  for (;;) {
    if (kWriteBytes - gathered < kPcmBlockBytes && !WriteOut(outputFd, samples, gathered)) {
      return Failure(SoundLoadError::WriteFailed, errno);
    }
    int bitstream = 0;
    const long bytes = ov_read(&decoder, reinterpret_cast<char*>(samples + gathered),
                               kPcmBlockBytes, 0, 2, 1, &bitstream);
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
      if (current == nullptr || current->channels != summary.channels ||
          current->rate != summary.rate) {
        summary.nextChannels = current != nullptr ? current->channels : 0;
        summary.nextRate = current != nullptr ? static_cast<int32_t>(current->rate) : 0;
        break;
      }
      if (link != -1) ++summary.linksConverted;
      link = bitstream;
    }
    if (written + static_cast<uint64_t>(bytes) > maxDataBytes) {
      return Failure(SoundLoadError::TooLongToLoad);
    }
    written += static_cast<uint64_t>(bytes);
    gathered += static_cast<size_t>(bytes);
  }
  if (!WriteOut(outputFd, samples, gathered)) return Failure(SoundLoadError::WriteFailed, errno);
  summary.dataBytes = static_cast<uint32_t>(written);
  return summary;
}

}  // namespace

OggDecoder::OggDecoder() : decoder_(std::make_unique<OggVorbis_File>()) {}

OggDecoder::~OggDecoder() {
  if (held_) ov_clear(decoder_.get());
}

OggDecodeSummary OggDecoder::Run(int inputFd, int outputFd, uint64_t maxDataBytes) {
  try {
    input_ = std::make_unique<OggPageFilter>(inputFd);
    samples_ = std::make_unique<uint8_t[]>(kWriteBytes);
  } catch (const std::bad_alloc&) {
    return Failure(SoundLoadError::OutOfMemory);
  }
  const ov_callbacks forwardsOnly = {ReadPages, nullptr, nullptr, nullptr};
  held_ = true;  // from here, even a crash inside the open leaves state to free
  const int opened = ov_open_callbacks(input_.get(), decoder_.get(), nullptr, 0, forwardsOnly);
  if (opened < 0) {
    held_ = false;  // a failed open frees what it took
    if (opened == OV_EREAD) return Failure(SoundLoadError::CannotOpen, EIO);
    return Failure(SoundLoadError::NotOggVorbis);
  }
  try {
    return Decode(*decoder_, samples_.get(), outputFd, maxDataBytes);
  } catch (const std::bad_alloc&) {
    return Failure(SoundLoadError::OutOfMemory);
  }
}

OggDecodeSummary DecodeOgg(int inputFd, int outputFd, uint64_t maxDataBytes) {
  try {
    OggDecoder decoder;
    return decoder.Run(inputFd, outputFd, maxDataBytes);
  } catch (const std::bad_alloc&) {
    return Failure(SoundLoadError::OutOfMemory);
  }
}

}  // namespace vtrak
