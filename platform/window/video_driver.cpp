#include "platform/window/video_driver.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

namespace vtrak {

bool IsInvisibleVideoDriver(const char* name) {
  return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
         std::strcmp(name, "evdev") == 0;
}

VideoStart StartVideo(const char* className, std::string& detail) {
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", className, 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    detail = SDL_GetError();
    // With no display at all, SDL may refuse every driver instead of picking an invisible one.
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool noDisplay =
        (display == nullptr || display[0] == '\0') && (wayland == nullptr || wayland[0] == '\0');
    return noDisplay ? VideoStart::NoDisplay : VideoStart::Failed;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool askedFor = asked != nullptr && driver != nullptr && SDL_strcasecmp(asked, driver) == 0;
  if (driver == nullptr || (IsInvisibleVideoDriver(driver) && !askedFor)) {
    detail = driver == nullptr ? "no video driver"
                               : std::string("only the ") + driver + " driver is available";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return VideoStart::NoDisplay;
  }
  return VideoStart::Ok;
}

}  // namespace vtrak
