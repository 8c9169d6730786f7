#pragma once
// Where the game's picture goes on the screen: whole screen pixels for each
// game pixel, centred, black around; and how large the window is asked to be.
#include <optional>

namespace vtrak {

struct ImagePlace {
  int scale = 1;  // screen pixels per game pixel, across and down
  int x = 0, y = 0, width = 0, height = 0;
};

// The largest whole scale at which the image fits the output (1 when even the
// image itself does not), centred in it.
ImagePlace PlaceImage(int imageWidth, int imageHeight, int outputWidth, int outputHeight);

struct WindowSize {
  int width = 0, height = 0;
};

// The client area in the window system's units, of which `pixelsPerUnit` make
// one (the desktop's own scale where the system scales windows, else 1):
// `scale` screen pixels per game pixel when asked for, else the image's size in
// the desktop's logical pixels, `desktopScale` screen pixels each.
WindowSize ClientAreaSize(int imageWidth, int imageHeight, std::optional<int> scale,
                          double desktopScale, int pixelsPerUnit);

// The desktop's scale factor from GDK_SCALE (a whole number) or else from the
// Xft.dpi line of the X resources (dpi / 96); never below 1.
double DesktopScaleFrom(const char* gdkScale, const char* xResources);

}  // namespace vtrak
