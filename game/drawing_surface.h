#pragma once
// The two drawing operations of the Canvas, as the Game sees them. The real
// Canvas implements them on the graphics device; a recording surface lets the
// Game be driven and checked without one.
#include <cstdint>

namespace vtrak {

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  // A one-pixel line between two pixels, both ends included.
  virtual void DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // A zero-terminated text in black with a one-pixel white rim, its layout box at (x, y).
  virtual void DrawOutlinedText(int32_t x, int32_t y, const char* text) = 0;
};

}  // namespace vtrak
