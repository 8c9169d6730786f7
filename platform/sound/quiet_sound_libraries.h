#pragma once
// The sound libraries' own complaints while OpenAL looks for a device. With no
// sound card ALSA prints a line for each step of its configuration that finds
// no card, and OpenAL adds one of its own; a game that plays silently by design
// then says so in its own one line instead. Someone who wants the libraries'
// story asks for OpenAL's log (ALSOFT_LOGLEVEL), and then nothing is held back.
namespace vtrak {

// Holds the complaints back for as long as it lives: OpenAL's log (read once,
// when OpenAL first starts) at level 0, ALSA's errors to a handler that drops
// them. The environment and ALSA's handler are as they were afterwards.
class QuietSoundLibraries {
 public:
  QuietSoundLibraries();
  ~QuietSoundLibraries();
  QuietSoundLibraries(const QuietSoundLibraries&) = delete;
  QuietSoundLibraries& operator=(const QuietSoundLibraries&) = delete;

 private:
  // (The browser's sibling, with nothing to hold back, uses neither.)
  [[maybe_unused]] bool setLogLevel_ = false;
  [[maybe_unused]] void* alsa_ = nullptr;  // libasound while its error handler is ours
};

}  // namespace vtrak
