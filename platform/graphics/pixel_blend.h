#pragma once
// Blending one ARGB colour over a pixel: colour x alpha + pixel x (1 - alpha),
// per channel, the alpha channel included.
#include <cstdint>

namespace vtrak {

// Each channel of `src` weighted by `srcWeight` plus each channel of `dst`
// weighted by `dstWeight`, the weights on a 0..255 scale, clamped to 255.
inline uint32_t WeightedSum(uint32_t src, uint32_t srcWeight, uint32_t dst, uint32_t dstWeight) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t s = (src >> shift) & 0xFFu;
    const uint32_t d = (dst >> shift) & 0xFFu;
    uint32_t v = (s * srcWeight + d * dstWeight + 127u) / 255u;
    if (v > 255u) v = 255u;
    out |= v << shift;
  }
  return out;
}

// The source-alpha blend with `alpha` in 0..255; opaque colours replace.
inline uint32_t BlendOver(uint32_t src, uint32_t alpha, uint32_t dst) {
  if (alpha == 255u) return src;
  if (alpha == 0u) return dst;
  return WeightedSum(src, alpha, dst, 255u - alpha);
}

}  // namespace vtrak
