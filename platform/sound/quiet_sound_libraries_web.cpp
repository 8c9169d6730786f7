#include "platform/sound/quiet_sound_libraries.h"

namespace vtrak {

// In the browser OpenAL is Emscripten's, over the page's audio: no ALSA, no
// log of OpenAL Soft's, nothing to hold back (and no dlopen to reach them).
QuietSoundLibraries::QuietSoundLibraries() = default;
QuietSoundLibraries::~QuietSoundLibraries() = default;

}  // namespace vtrak
