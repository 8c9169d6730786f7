#include "platform/window/display_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vtrak {

ImagePlace PlaceImage(int imageWidth, int imageHeight, int outputWidth, int outputHeight) {
  ImagePlace place;
  if (imageWidth > 0 && imageHeight > 0) {
    place.scale = std::max(1, std::min(outputWidth / imageWidth, outputHeight / imageHeight));
  }
  place.width = imageWidth * place.scale;
  place.height = imageHeight * place.scale;
  place.x = (outputWidth - place.width) / 2;
  place.y = (outputHeight - place.height) / 2;
  return place;
}

WindowSize ClientAreaSize(int imageWidth, int imageHeight, std::optional<int> scale,
                          double desktopScale, int pixelsPerUnit) {
  const int unit = std::max(1, pixelsPerUnit);
  // Screen pixels for one game pixel, and whole units that hold at least them all.
  const double perPixel = scale ? *scale : std::max(1.0, desktopScale) * unit;
  auto units = [&](int pixels) {
    return static_cast<int>(std::ceil(std::round(pixels * perPixel) / unit));
  };
  return {units(imageWidth), units(imageHeight)};
}

double DesktopScaleFrom(const char* gdkScale, const char* xResources) {
  if (gdkScale != nullptr && gdkScale[0] >= '1' && gdkScale[0] <= '9') {
    return std::max(1L, std::strtol(gdkScale, nullptr, 10));
  }
  for (const char* line = xResources; line != nullptr && *line != '\0';) {
    if (std::strncmp(line, "Xft.dpi:", 8) == 0) {
      const double dpi = std::strtod(line + 8, nullptr);
      return std::max(1.0, dpi / 96.0);
    }
    line = std::strchr(line, '\n');
    if (line != nullptr) ++line;
  }
  return 1.0;
}

}  // namespace vtrak
