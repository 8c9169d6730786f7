#pragma once
// Where a presented frame goes: the window on the screen, or nowhere (the
// headless device).
#include <cstdint>

namespace vtrak {

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows one frame of `width` x `height` ARGB pixels, row-major, and returns
  // when the next frame may be drawn.
  virtual void Present(const uint32_t* argb, int width, int height) = 0;
};

}  // namespace vtrak
