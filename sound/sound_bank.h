#pragma once
// The SoundBank: the program's DirectSound object and 256 numbered slots, each
// holding one whole sound. Slot 0 holds the music, loaded from "bgm.wav" and
// looped from start-up until the process ends.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/result.h"
#include "platform/sound/sound_device.h"
#include "sound/sound_load_report.h"
#include "sound/wav_header_reader.h"

namespace vtrak {

inline constexpr int32_t kSoundSlotCount = 256;
inline constexpr const char* kMusicFile = "bgm.wav";

struct SoundBank {
  // Empty when there is no sound device; every load then fails.
  std::unique_ptr<DirectSound8> directSound;
  // Slots 0..255; a slot that is not empty holds the only reference to its buffer.
  std::array<std::unique_ptr<DirectSoundBuffer8>, kSoundSlotCount> slots;
};

// Makes the bank on the default playback device through OpenAL. The window is
// only handed to SetCooperativeLevel. The shell deletes the bank last of
// all at shutdown, so the music plays to the end.
SoundBank* CreateSoundBank(const void* window);
// The same on the device that `directSoundCreate8` yields.
SoundBank* CreateSoundBank(const void* window,
                           const DirectSoundCreate8Function& directSoundCreate8);

// Loads "bgm.wav" into slot 0 and, when that gave the slot a buffer, plays it
// from its start at full volume and centre, looping.
void StartMusic(SoundBank& bank);

// Fills `slot` (0..255) from a PCM WAV file. A name whose second-to-last
// character is 'g' is taken for Ogg Vorbis and converted first; that way
// always returns 0. A WAV load returns 0, or E_FAIL when it fails. Nothing is
// played. Only a regular file is read; `report`, when given, says what
// became of the load.
HRESULT LoadSound(SoundBank& bank, const char* path, int32_t slot,
                  SoundLoadReport* report = nullptr);

// LoadSound's WAV way from the file open at `fd` (read from where it stands)
// into `buffer`, which is empty unless the load got as far as a buffer: on
// success, and when only the buffer's Lock failed. `out.error` says why it
// failed; a format or length that no device takes is refused before the
// sound device is asked.
HRESULT LoadWavFile(SoundBank& bank, int fd, std::unique_ptr<DirectSoundBuffer8>& buffer,
                    SoundLoadReport& out);

// LoadWavFile's way once the header is read: a buffer for the sound that
// `header` describes, filled by `fill(region, bytes)`, which says how many
// bytes it put there; the rest is silence.
HRESULT LoadWavData(SoundBank& bank, const WavHeader& header,
                    const std::function<size_t(uint8_t* region, size_t bytes)>& fill,
                    std::unique_ptr<DirectSoundBuffer8>& buffer, SoundLoadReport& out);

}  // namespace vtrak
