#include "platform/window/desktop_scale.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/window/display_geometry.h"

namespace vtrak {

DesktopScale DesktopScaleFactor() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return {};
  const char* gdkScale = std::getenv("GDK_SCALE");
  DesktopScale scale = DesktopScaleFrom(gdkScale, nullptr);
  if (scale.source != nullptr) return scale;
  // No GDK_SCALE, or one that is no scale: the X resources tell.
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return scale;
  DesktopScale fromResources = DesktopScaleFrom(gdkScale, XResourceManagerString(display));
  XCloseDisplay(display);
  return fromResources;
}

uint32_t HighDensityWindowFlag() {
  return SDL_WINDOW_ALLOW_HIGHDPI;
}

bool FullScreenAllowed() {
  return true;
}

}  // namespace vtrak
