#pragma once
// One-pixel aliased lines on the back buffer by the device's rules: integer
// screen positions are pixel centres, a line lights one pixel per column (or
// row, for steep lines) from its first end pixel to its last, the last one
// included while the last-pixel state is on; pixels outside the clip rectangle
// are skipped, never wrapped. Depth-tested and blended per pixel.
#include <cstdint>

namespace vtrak {

struct RenderTarget {
  uint32_t* pixels;  // ARGB, row-major, `width` pixels a row
  uint16_t* depth;   // 16-bit depth, same layout; may be null
  int width;
  int height;
};

// The drawable area: x0 <= x < x1, y0 <= y < y1, inside the target.
struct ClipRect {
  int x0;
  int y0;
  int x1;
  int y1;
};

// A transformed vertex: screen position in pixels, depth 0..1, colour.
struct ScreenVertex {
  float x;
  float y;
  float z;
  uint32_t colour;
};

struct RasterState {
  bool depthTest;
  bool depthWrite;
  bool blend;
  uint32_t srcBlend;   // D3DBLEND_*
  uint32_t destBlend;  // D3DBLEND_*
  bool lastPixel;
};

void RasteriseLine(const RenderTarget& target, const ClipRect& clip, const RasterState& state,
                   ScreenVertex a, ScreenVertex b);

}  // namespace vtrak
