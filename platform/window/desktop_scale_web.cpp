#include "platform/window/desktop_scale.h"

namespace vtrak {

// The page's canvas stays 640 by 480 CSS pixels: the browser scales it.
DesktopScale DesktopScaleFactor() {
  return {};
}

uint32_t HighDensityWindowFlag() {
  return 0;
}

// The page keeps its size; full screen is the browser's own (F11).
bool FullScreenAllowed() {
  return false;
}

}  // namespace vtrak
