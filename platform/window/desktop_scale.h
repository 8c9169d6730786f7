#pragma once
// What the desktop says about the window's size: its scale factor, and
// whether the window may take the whole screen.
#include <cstdint>

#include "platform/window/display_geometry.h"

namespace vtrak {

// Screen pixels per logical pixel where the window system leaves scaling to
// the program (X11: GDK_SCALE, else Xft.dpi / 96); 1 where it scales windows
// itself (Wayland, whose output scale shows in the window's pixel size).
// A value that is no scale is ignored and named (see DesktopScaleFrom).
DesktopScale DesktopScaleFactor();

// The window flag that lets SDL give the window its screen pixels on a
// scaled desktop.
uint32_t HighDensityWindowFlag();

// Whether F11 and Alt+Enter may take the whole screen.
bool FullScreenAllowed();

}  // namespace vtrak
