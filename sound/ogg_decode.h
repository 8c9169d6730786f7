#pragma once
// The decoding half of the Ogg Vorbis conversion: a whole Ogg Vorbis file to
// 16-bit PCM samples in a file. It runs in a process of its own (see
// ConvertOggToWav): the decoder is not trusted to survive a hostile file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/sound/sound_device.h"
#include "sound/sound_load_report.h"

struct OggVorbis_File;

namespace vtrak {

// The most sound data the loader takes: more could never be loaded.
inline constexpr uint64_t kMaxLoadableDataBytes = DSBSIZE_MAX;

class OggPageFilter;

// What one decode did; plain data, so that it crosses from the decoding
// process to the caller as bytes.
struct OggDecodeSummary {
  SoundLoadError error = SoundLoadError::None;
  int32_t detail = 0;
  uint32_t dataBytes = 0;
  int32_t channels = 0;  // of the first link
  int32_t rate = 0;
  int32_t linksConverted = 0;
  int32_t nextChannels = 0;
  int32_t nextRate = 0;
};

// The decoder's block: the most one ov_read may fill.
inline constexpr int kPcmBlockBytes = 4096;

// Decodes the Ogg Vorbis file open at `inputFd` and writes its samples, bare
// 16-bit PCM as the decoder delivers them, to `outputFd` from where it
// stands. The file is read forwards once, its pages only (see
// OggPageFilter). Stops before the first link of a chained stream whose
// channels or rate differ from the first link's. Fails with NotLoadable,
// before any sample, when the first link's channels or rate are not what the
// loader takes, and with TooLongToLoad as soon as the sound data would pass
// `maxDataBytes`.
OggDecodeSummary DecodeOgg(int inputFd, int outputFd,
                           uint64_t maxDataBytes = kMaxLoadableDataBytes);

// DecodeOgg with the decoder's state held here, so that it is freed (and
// the input's stream closed) even when Run does not return: when a crash of
// the decoder is caught and the caller goes on without it.
class OggDecoder {
 public:
  OggDecoder();
  ~OggDecoder();
  OggDecoder(const OggDecoder&) = delete;
  OggDecoder& operator=(const OggDecoder&) = delete;

  // Once for each decoder.
  OggDecodeSummary Run(int inputFd, int outputFd, uint64_t maxDataBytes = kMaxLoadableDataBytes);

 private:
  std::unique_ptr<OggPageFilter> input_;
  std::unique_ptr<OggVorbis_File> decoder_;
  std::unique_ptr<uint8_t[]> samples_;  // what goes to the output in one write
  bool held_ = false;                   // the decoder may hold state
};

}  // namespace vtrak
