#pragma once
// The game's music, "Night Train": a minor-key tune over the beat of the
// rails, 24 bars at 126 beats a minute (about 46 s), made to loop.

namespace vtrak::music {

// Composes it and writes it to `path` as a 16-bit stereo WAV file at
// 44100 Hz. False when the file cannot be written.
bool WriteNightTrain(const char* path);

}  // namespace vtrak::music
