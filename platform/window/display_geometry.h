#pragma once
// Where the game's picture goes on the screen: whole screen pixels for each
// game pixel, centred, black around; and how large the window is asked to be.
#include <optional>
#include <string>

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

// The largest whole scale, at least 1, at which the image's client area (of
// units of `pixelsPerUnit` screen pixels) fits an area of the screen.
int FittingScale(int imageWidth, int imageHeight, int pixelsPerUnit, int areaWidth, int areaHeight);

// Where a client area of `size` units, with `before` and `after` of the
// window's frame around it, starts along a span of the screen from `start`:
// the whole window centred where it fits; else the frame's start (the title
// bar) and the client area on the screen, else the client area alone.
int PlaceAlong(int start, int span, int before, int size, int after);

// The most screen pixels per logical pixel taken from the desktop, as --scale.
inline constexpr int kMostDesktopScale = 8;

struct DesktopScale {
  double factor = 1.0;           // screen pixels per logical pixel, 1 to kMostDesktopScale
  const char* source = nullptr;  // "GDK_SCALE" or "Xft.dpi"; null: neither said
  std::string ignored;           // a value that is no scale, named, and why; empty when none
};

// The desktop's scale factor from GDK_SCALE (a whole number) or else from the
// Xft.dpi line of the X resources (dpi / 96, 1 below 96). A value that is not
// a number from 1 to kMostDesktopScale is ignored and named in `ignored`.
DesktopScale DesktopScaleFrom(const char* gdkScale, const char* xResources);

}  // namespace vtrak
