#include "platform/window/video_driver.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/core/printable.h"
#include "platform/window/x11_errors.h"

namespace vtrak {

bool IsInvisibleVideoDriver(const char* name) {
  return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
         std::strcmp(name, "evdev") == 0;
}

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

// libwayland-client finds the compositor through WAYLAND_SOCKET, an absolute
// WAYLAND_DISPLAY or a socket in XDG_RUNTIME_DIR. With none of them, SDL's
// probe of its Wayland driver cannot succeed and only makes the library print
// an error line of its own.
bool WaylandReachable() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return IsSet("WAYLAND_SOCKET") || IsSet("XDG_RUNTIME_DIR") ||
         (display != nullptr && display[0] == '/');
}

// Unless the user chose the drivers, has SDL try all of its drivers in their
// usual order but Wayland when no compositor can be reached.
void LeaveOutUnreachableWayland() {
  if (IsSet("SDL_VIDEODRIVER") || WaylandReachable()) return;
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* name = SDL_GetVideoDriver(i);
    if (name == nullptr || std::strcmp(name, "wayland") == 0) continue;
    if (!drivers.empty()) drivers += ',';
    drivers += name;
  }
  // Override: an empty SDL_VIDEODRIVER in the environment would block a normal hint.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
}

// Why no window can be had, for the player.
std::string NoDisplayReason(const std::string& sdlReason) {
  if (IsSet("DISPLAY"))
    return "DISPLAY=" + Printable(std::getenv("DISPLAY")) + " cannot be reached";
  return sdlReason;
}

}  // namespace

VideoStart StartVideo(const char* className, std::string& detail) {
  SDL_setenv("SDL_VIDEO_X11_WMCLASS", className, 1);
  LeaveOutUnreachableWayland();
  IgnoreEventsSentToClosedWindows();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    detail = Printable(SDL_GetError());  // it may repeat SDL_VIDEODRIVER
    // With no display at all, SDL may refuse every driver instead of picking an invisible one.
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") ? VideoStart::Failed
                                                        : VideoStart::NoDisplay;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  const bool askedFor = asked != nullptr && driver != nullptr && SDL_strcasecmp(asked, driver) == 0;
  if (driver == nullptr || (IsInvisibleVideoDriver(driver) && !askedFor)) {
    detail = NoDisplayReason(driver == nullptr
                                 ? "no video driver"
                                 : "only the " + Printable(driver) + " driver is available");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return VideoStart::NoDisplay;
  }
  return VideoStart::Ok;
}

}  // namespace vtrak
