#include "platform/window/desktop_scale.h"

#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/window/display_geometry.h"

namespace vtrak {

double DesktopScaleFactor() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::strcmp(driver, "x11") != 0) return 1.0;
  const char* gdkScale = std::getenv("GDK_SCALE");
  if (gdkScale != nullptr && gdkScale[0] != '\0') return DesktopScaleFrom(gdkScale, nullptr);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1.0;
  const double scale = DesktopScaleFrom(nullptr, XResourceManagerString(display));
  XCloseDisplay(display);
  return scale;
}

uint32_t HighDensityWindowFlag() {
  return SDL_WINDOW_ALLOW_HIGHDPI;
}

bool FullScreenAllowed() {
  return true;
}

}  // namespace vtrak
