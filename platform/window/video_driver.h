#pragma once
// Starts SDL's video subsystem for the window of the given class and tells
// whether a display was found.
#include <string>

namespace vtrak {

enum class VideoStart { Ok, NoDisplay, Failed };

// Sets the X11 window class, starts video, and reports NoDisplay when SDL fell
// back on an invisible driver that the user did not ask for through
// SDL_VIDEODRIVER. `detail` receives SDL's reason on failure.
VideoStart StartVideo(const char* className, std::string& detail);

// A driver that shows nothing on any screen (offscreen, dummy, evdev).
bool IsInvisibleVideoDriver(const char* name);

}  // namespace vtrak
