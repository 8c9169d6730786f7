#pragma once
// The decoding half of the Ogg Vorbis conversion: a whole Ogg Vorbis file to
// a 16-bit PCM WAV file whose header states exactly what follows it. It runs
// in a process of its own (see ConvertOggToWav): the decoder is not trusted
// to survive a hostile file.
#include <cstdint>
#include <memory>

#include "platform/sound/sound_device.h"
#include "sound/sound_load_report.h"

struct OggVorbis_File;

namespace vtrak {

// The most sound data the loader takes: more could never be loaded.
inline constexpr uint64_t kMaxLoadableDataBytes = DSBSIZE_MAX;

class OggPageFilter;

// What one decode did; plain data, to cross a pipe.
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

// Where decoded sound goes: a whole WAV file, or the bare samples down a
// pipe (the summary then says what they are).
enum class PcmOutput { WavFile, Stream };

// Decodes the Ogg Vorbis file open at `inputFd` into `outputFd` (empty,
// writable, seekable): the canonical 44-byte header, then the samples as
// the decoder delivers them, then the header again with the sizes of what
// was written. The file is read forwards once, its pages only (see
// OggPageFilter). Stops before the first link of a chained stream whose
// channels or rate differ from the first link's. Fails with NotLoadable,
// before any sample, when the first link's channels or rate are not what
// the loader takes, and with TooLongToLoad as soon as the sound data would
// pass `maxDataBytes`. With PcmOutput::Stream, `outputFd` gets the samples
// alone, and may be a pipe.
OggDecodeSummary DecodeOggToWav(int inputFd, int outputFd,
                                uint64_t maxDataBytes = kMaxLoadableDataBytes,
                                PcmOutput form = PcmOutput::WavFile);

// DecodeOggToWav with the decoder's state held here, so that it is freed
// (and the input's stream closed) even when Run does not return: when a
// crash of the decoder is caught and the caller goes on without it.
class OggToWavDecoder {
 public:
  OggToWavDecoder();
  ~OggToWavDecoder();
  OggToWavDecoder(const OggToWavDecoder&) = delete;
  OggToWavDecoder& operator=(const OggToWavDecoder&) = delete;

  // Once for each decoder.
  OggDecodeSummary Run(int inputFd, int outputFd, uint64_t maxDataBytes = kMaxLoadableDataBytes,
                       PcmOutput form = PcmOutput::WavFile);

 private:
  std::unique_ptr<OggPageFilter> input_;
  std::unique_ptr<OggVorbis_File> decoder_;
  // The output's write batch, held here rather than in the decoding frame:
  // a crash caught by a jump out of that frame still frees it.
  std::unique_ptr<uint8_t[]> batch_;
  bool held_ = false;  // the decoder may hold state
};

}  // namespace vtrak
