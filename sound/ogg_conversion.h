#pragma once
// The Ogg Vorbis conversion: decodes a whole file into a 16-bit PCM WAV file,
// "data/result.wav" under the working directory, and loads that into a slot.
#include <cstdint>

#include "platform/core/result.h"
#include "sound/decoded_sound.h"
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
bool IsOggVorbisName(const char* path);

// Decodes the file open at `inputFd` into `output` where a crash of the
// decoder cannot end the caller, and says how it ended; it gives up on the
// decode (Interrupted) when `stopFd`, if not -1, becomes readable first. The
// caller then has `output` finish the file.
using OggDecodeRunner = OggDecodeSummary (*)(int inputFd, DecodedSound& output, int stopFd);

// The program's way: a child process for each decode, handing its samples
// to this one (see SampleRing), which writes the file meanwhile.
OggDecodeSummary DecodeInChildProcess(int inputFd, DecodedSound& output, int stopFd);

// Always 0. The file is decoded apart (by `runDecode`) into a new file in
// data/, whose samples the loader then takes into a new buffer from memory;
// only when that
// succeeds does the new file replace "data/result.wav" and the buffer take
// the slot's place. When anything fails (the input cannot be read or is not
// Ogg Vorbis, the decoder crashes, a write fails, the sound is more than the
// loader takes, memory runs out) "data/result.wav" and the slot stay as they
// were; `report`, when given, says why. The new file is locked while the
// conversion lives, and removed when it fails or a signal that ends the
// process arrives (the process then ends, once it is gone); such files
// that a conversion killed outright left behind are removed first.
HRESULT ConvertOggToWav(SoundBank& bank, const char* path, int32_t slot,
                        SoundLoadReport* report = nullptr,
                        OggDecodeRunner runDecode = DecodeInChildProcess);

// The canonical 44-byte header for `dataBytes` bytes of 16-bit PCM.
void BuildCanonicalWavHeader(uint8_t header[44], int32_t channels, int32_t rate,
                             uint32_t dataBytes);

}  // namespace vtrak
