#include "platform/window/display_geometry.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/core/printable.h"

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

int FittingScale(int imageWidth, int imageHeight, int pixelsPerUnit, int areaWidth,
                 int areaHeight) {
  if (imageWidth <= 0 || imageHeight <= 0) return 1;
  const int64_t unit = std::max(1, pixelsPerUnit);
  return static_cast<int>(std::clamp<int64_t>(
      std::min(areaWidth * unit / imageWidth, areaHeight * unit / imageHeight), 1, INT32_MAX));
}

int PlaceAlong(int start, int span, int before, int size, int after) {
  if (before + size + after <= span) return start + before + (span - before - size - after) / 2;
  if (before + size <= span) return start + before;
  if (size <= span) return start + (span - size) / 2;
  return start + before;
}

DesktopScale DesktopScaleFrom(const char* gdkScale, const char* xResources) {
  DesktopScale scale;
  if (gdkScale != nullptr && gdkScale[0] != '\0') {
    char* end = nullptr;
    errno = 0;
    const long whole = std::strtol(gdkScale, &end, 10);
    if (gdkScale[0] >= '0' && gdkScale[0] <= '9' && *end == '\0' && errno == 0 && whole >= 1 &&
        whole <= kMostDesktopScale) {
      scale.factor = static_cast<double>(whole);
      scale.source = "GDK_SCALE";
      return scale;
    }
    scale.ignored = "GDK_SCALE=" + Printable(gdkScale) + " is not a whole number from 1 to " +
                    std::to_string(kMostDesktopScale);
  }
  for (const char* line = xResources; line != nullptr && *line != '\0';) {
    if (std::strncmp(line, "Xft.dpi:", 8) == 0) {
      char* end = nullptr;
      const double dpi = std::strtod(line + 8, &end);
      end += std::strspn(end, " \t\r");
      // NaN fails both tests, and so never reaches a conversion.
      if (end != line + 8 && (*end == '\n' || *end == '\0') && dpi > 0 &&
          dpi <= 96.0 * kMostDesktopScale) {
        scale.factor = std::max(1.0, dpi / 96.0);
        scale.source = "Xft.dpi";
        return scale;
      }
      const std::string value(line + 8, std::strcspn(line + 8, "\n"));
      if (!scale.ignored.empty()) scale.ignored += ", and ";
      scale.ignored += "the X resource Xft.dpi of '" + Printable(value) + "' is not from 1 to " +
                       std::to_string(96 * kMostDesktopScale) + " dots an inch";
      return scale;
    }
    line = std::strchr(line, '\n');
    if (line != nullptr) ++line;
  }
  return scale;
}

}  // namespace vtrak
