#include "platform/sound/quiet_sound_libraries.h"

#include <dlfcn.h>
#include <stdlib.h>

namespace vtrak {
namespace {

// ALSA's error handler, declared here: OpenAL loads libasound at run time
// where it is installed, and so does this, so building needs no ALSA.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler handler);

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

SetAlsaErrorHandler HandlerSetter(void* alsa) {
  return reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
}

}  // namespace

QuietSoundLibraries::QuietSoundLibraries() {
  if (getenv("ALSOFT_LOGLEVEL") != nullptr) return;
  setLogLevel_ = setenv("ALSOFT_LOGLEVEL", "0", 0) == 0;
  alsa_ = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (alsa_ == nullptr) return;
  if (const SetAlsaErrorHandler set = HandlerSetter(alsa_)) {
    set(DropAlsaError);
  } else {
    dlclose(alsa_);
    alsa_ = nullptr;
  }
}

QuietSoundLibraries::~QuietSoundLibraries() {
  if (alsa_ != nullptr) {
    HandlerSetter(alsa_)(nullptr);  // ALSA's own handler again
    dlclose(alsa_);
  }
  if (setLogLevel_) unsetenv("ALSOFT_LOGLEVEL");
}

}  // namespace vtrak
