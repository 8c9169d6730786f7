#include "platform/font/glyph_blit.h"

#include <algorithm>
#include <cstddef>

#include "platform/graphics/pixel_blend.h"

namespace vtrak {

void BlitGlyph(const Glyph& glyph, int64_t x, int64_t y, const RenderTarget& target,
               const ClipRect& clip, uint32_t colour) {
  const uint32_t alpha = colour >> 24;
  if (alpha == 0) return;
  for (const Glyph::Run& run : glyph.runs) {
    const int64_t row = y + run.row;
    if (row < clip.y0 || row >= clip.y1) continue;
    const int64_t x0 = std::max<int64_t>(x + run.column, clip.x0);
    const int64_t x1 = std::min<int64_t>(x + run.column + run.length, clip.x1);
    uint32_t* pixels = target.pixels + static_cast<size_t>(row) * static_cast<size_t>(target.width);
    for (int64_t column = x0; column < x1; ++column) {
      pixels[column] = BlendOver(colour, alpha, pixels[column]);
    }
  }
}

}  // namespace vtrak
