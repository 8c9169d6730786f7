#pragma once
// The Ogg Vorbis conversion: decodes a whole file into a 16-bit PCM WAV file,
// "data/result.wav" under the working directory, and loads that into a slot.
#include <cstdint>

#include "platform/core/result.h"
#include "sound/sound_bank.h"

namespace vtrak {

#ifdef _WIN32
inline constexpr const char* kResultWavPath = "data\\result.wav";
#else
inline constexpr const char* kResultWavPath = "data/result.wav";
#endif

// The decoder's block: the most one ov_read may fill.
inline constexpr int kPcmBlockBytes = 4096;

// True for a name whose second-to-last character is a lower-case 'g'
// ("music.ogg", and as much "x.gz"): LoadSound converts those first.
bool IsOggVorbisName(const char* path);

// Always 0. When the input cannot be opened or is not Ogg Vorbis, or the
// output cannot be created, nothing is written or loaded and the slot keeps
// what it held.
HRESULT ConvertOggToWav(SoundBank& bank, const char* path, int32_t slot);

// The canonical 44-byte header for `totalSamples` samples per channel of
// 16-bit PCM; every size in 32-bit arithmetic that wraps.
void BuildCanonicalWavHeader(uint8_t header[44], int32_t channels, int32_t rate,
                             uint32_t totalSamples);

}  // namespace vtrak
