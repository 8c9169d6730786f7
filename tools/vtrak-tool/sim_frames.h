#pragma once
// The simulator's PNG frames: the real Canvas on a graphics device with no
// window, its back buffer written out as DIR/frame-NNNNNN.png.
#include <cstdint>
#include <memory>
#include <string>

#include "game/drawing_surface.h"

namespace vtrak::tool {

class SimFrames {
 public:
  // Makes the folder and the device; nullptr with `error` set when it cannot.
  static std::unique_ptr<SimFrames> Create(const std::string& folder, std::string& error);
  virtual ~SimFrames() = default;
  // Clears the frame and begins the scene; the surface to draw the step on.
  virtual DrawingSurface* BeginFrame() = 0;
  // Ends the scene and writes the frame of `step`.
  virtual bool Write(int64_t step, std::string& error) = 0;
};

}  // namespace vtrak::tool
