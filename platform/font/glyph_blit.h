#pragma once
// Lighting a glyph's pixels in an ARGB target: each run blended over the
// pixels beneath it, clipped to a rectangle.
#include <cstdint>

#include "platform/font/glyph_cache.h"
#include "platform/graphics/line_rasteriser.h"

namespace vtrak {

// Draws `glyph` with its bitmap's top-left corner at (x, y) in `colour`
// (ARGB, blended by its alpha). `clip` must lie inside the target.
void BlitGlyph(const Glyph& glyph, int64_t x, int64_t y, const RenderTarget& target,
               const ClipRect& clip, uint32_t colour);

}  // namespace vtrak
