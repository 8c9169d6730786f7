#pragma once
// Writes a loop mix as a 16-bit stereo PCM WAV file with the canonical
// 44-byte header.
#include "tools/music/loop_mix.h"

namespace vtrak::music {

// Scales the mix so its loudest sample sits at `peak` (of full scale) and
// writes it. False when the file cannot be written.
bool WriteWav(const char* path, LoopMix& mix, double peak);

}  // namespace vtrak::music
