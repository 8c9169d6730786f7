#pragma once
// The Ogg Vorbis conversion: decodes a whole file into a 16-bit PCM WAV file,
// "data/result.wav" under the working directory, and loads that into a slot.
#include <cstdint>

#include "platform/core/result.h"
#include "sound/ogg_decode.h"
#include "sound/sound_bank.h"
#include "sound/sound_load_report.h"

namespace vtrak {

#ifdef _WIN32
inline constexpr const char* kResultWavPath = "data\\result.wav";
#else
inline constexpr const char* kResultWavPath = "data/result.wav";
#endif

// True for a name whose second-to-last character is a lower-case 'g'
// ("music.ogg", and as much "x.gz"): LoadSound converts those first.
constexpr bool IsOggVorbisName(const char* path) {
  size_t length = 0;
  while (path[length] != '\0') ++length;
  return length >= 2 && path[length - 2] == 'g';
}
// The game loads only its music, which is never converted: the game process
// never starts a decoding process.
static_assert(!IsOggVorbisName(kMusicFile));

// Decodes the file open at `inputFd` into the file open at `outputFd`, from
// where it stands, where a crash of the decoder cannot end the caller, and
// says how it ended.
using OggDecodeRunner = OggDecodeSummary (*)(int inputFd, int outputFd);

// The program's way: a child process for each decode, which writes the
// samples itself.
OggDecodeSummary DecodeInChildProcess(int inputFd, int outputFd);

// Always 0. The file is decoded apart (by `runDecode`) into a new file in
// data/ that has no name yet, which the loader then takes into a new buffer;
// only when that succeeds does the new file replace "data/result.wav" and
// the buffer take the slot's place. When anything fails (the input cannot
// be read or is not Ogg Vorbis, the decoder crashes, a write fails, the
// sound is more than the loader takes, memory runs out) "data/result.wav"
// and the slot stay as they were; `report`, when given, says why. However
// the conversion ends, even killed, no file of it is left behind but the
// result.
HRESULT ConvertOggToWav(SoundBank& bank, const char* path, int32_t slot,
                        SoundLoadReport* report = nullptr,
                        OggDecodeRunner runDecode = DecodeInChildProcess);

// The canonical 44-byte header for `dataBytes` bytes of 16-bit PCM.
void BuildCanonicalWavHeader(uint8_t header[44], int32_t channels, int32_t rate,
                             uint32_t dataBytes);

}  // namespace vtrak
