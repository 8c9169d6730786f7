#include "app/window_scale.h"

#include "platform/core/printable.h"
#include "platform/window/desktop_scale.h"
#include "platform/window/window.h"

namespace vtrak {

WindowSize ChooseClientArea(const Window& window, std::optional<int> scale,
                            const std::string& asker, std::FILE* errors) {
  const int unit = window.PixelsPerUnit();
  std::string wanted;
  DesktopScale desktop;
  if (scale) {
    wanted = "a scale of " + std::to_string(*scale) + " (" + Printable(asker) + ")";
  } else {
    desktop = DesktopScaleFactor();
    if (!desktop.ignored.empty()) {
      std::fprintf(errors, "vtrak: %s; ignored\n", desktop.ignored.c_str());
    }
    char factor[64];
    std::snprintf(factor, sizeof factor, "the desktop's scale of %g (%s)", desktop.factor * unit,
                  desktop.source != nullptr ? desktop.source : "the window system's");
    wanted = factor;
  }
  const WindowSize size = ClientAreaSize(kClientWidth, kClientHeight, scale, desktop.factor, unit);
  int width = 0, height = 0;
  if (!window.UsableScreenSize(width, height) || (size.width <= width && size.height <= height)) {
    return size;
  }
  const int fitting = FittingScale(kClientWidth, kClientHeight, unit, width, height);
  // A screen smaller than the game's own size: nothing smaller to give way to.
  if ((scale ? *scale : desktop.factor * unit) <= fitting) return size;
  std::fprintf(errors,
               "vtrak: the window at %s does not fit the %d by %d screen; it takes %d, the "
               "largest whole scale that does\n",
               wanted.c_str(), width, height, fitting);
  return ClientAreaSize(kClientWidth, kClientHeight, fitting, 1.0, unit);
}

}  // namespace vtrak
