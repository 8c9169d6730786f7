#include "platform/graphics/line_rasteriser.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/d3d9_types.h"
#include "platform/graphics/pixel_blend.h"

namespace vtrak {
namespace {

// Screen positions are snapped to 1/256 pixel before rasterising, as the
// device's hardware does; that absorbs the single-precision error of the
// transform, so a vertex meant for a pixel centre lands exactly on it.
constexpr int64_t kSubPixel = 256;
constexpr int64_t kHalfPixel = kSubPixel / 2;
// Far-away ends are first cut to this band, which keeps the fixed-point
// arithmetic below well inside 64 bits.
constexpr double kGuardBand = 1 << 20;

int64_t FloorDiv(int64_t value, int64_t divisor) {  // divisor > 0
  int64_t q = value / divisor;
  if (value % divisor != 0 && value < 0) --q;
  return q;
}

uint32_t LerpColour(uint32_t a, uint32_t b, float t) {
  if (a == b) return a;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const float ca = static_cast<float>((a >> shift) & 0xFFu);
    const float cb = static_cast<float>((b >> shift) & 0xFFu);
    const float v = std::clamp(ca + (cb - ca) * t, 0.0f, 255.0f);
    out |= static_cast<uint32_t>(std::lround(v)) << shift;
  }
  return out;
}

ScreenVertex Lerp(const ScreenVertex& a, const ScreenVertex& b, double t) {
  const auto f = static_cast<float>(t);
  return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f,
          LerpColour(a.colour, b.colour, f)};
}

// Liang-Barsky against the guard band; false when nothing of the line is left.
bool ClipToGuardBand(ScreenVertex& a, ScreenVertex& b) {
  const auto inside = [](const ScreenVertex& v) {
    return std::fabs(v.x) <= kGuardBand && std::fabs(v.y) <= kGuardBand;
  };
  if (inside(a) && inside(b)) return true;
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x + kGuardBand, kGuardBand - a.x, a.y + kGuardBand, kGuardBand - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, r);
    } else {
      t1 = std::min(t1, r);
    }
  }
  if (t0 > t1) return false;
  const ScreenVertex start = Lerp(a, b, t0);
  const ScreenVertex end = Lerp(a, b, t1);
  a = start;
  b = end;
  return true;
}

uint32_t BlendWeight(uint32_t factor, uint32_t alpha) {
  switch (factor) {
    case D3DBLEND_ZERO:
      return 0;
    case D3DBLEND_SRCALPHA:
      return alpha;
    case D3DBLEND_INVSRCALPHA:
      return 255u - alpha;
    default:
      return 255u;  // D3DBLEND_ONE
  }
}

uint32_t Blend(const RasterState& state, uint32_t src, uint32_t dst) {
  if (!state.blend) return src;
  const uint32_t alpha = src >> 24;
  if (state.srcBlend == D3DBLEND_SRCALPHA && state.destBlend == D3DBLEND_INVSRCALPHA) {
    return BlendOver(src, alpha, dst);
  }
  return WeightedSum(src, BlendWeight(state.srcBlend, alpha), dst,
                     BlendWeight(state.destBlend, alpha));
}

uint16_t DepthValue(float z) {
  return static_cast<uint16_t>(std::lround(std::clamp(z, 0.0f, 1.0f) * 65535.0f));
}

}  // namespace

void RasteriseLine(const RenderTarget& target, const ClipRect& clip, const RasterState& state,
                   ScreenVertex a, ScreenVertex b) {
  for (const float v : {a.x, a.y, a.z, b.x, b.y, b.z}) {
    if (!std::isfinite(v)) return;
  }
  if (!ClipToGuardBand(a, b)) return;

  const int64_t ax = std::llround(static_cast<double>(a.x) * kSubPixel);
  const int64_t ay = std::llround(static_cast<double>(a.y) * kSubPixel);
  const int64_t bx = std::llround(static_cast<double>(b.x) * kSubPixel);
  const int64_t by = std::llround(static_cast<double>(b.y) * kSubPixel);

  // Walk the major axis one pixel centre at a time; the minor coordinate of
  // the line at that centre, rounded, picks the pixel.
  const bool xMajor = std::llabs(bx - ax) >= std::llabs(by - ay);
  const int64_t ma = xMajor ? ax : ay;
  const int64_t mb = xMajor ? bx : by;
  const int64_t na = xMajor ? ay : ax;
  const int64_t nb = xMajor ? by : bx;
  const int64_t first = FloorDiv(ma + kHalfPixel, kSubPixel);
  int64_t last = FloorDiv(mb + kHalfPixel, kSubPixel);
  if (!state.lastPixel) {
    if (first == last) return;
    last += first < last ? -1 : 1;
  }
  int64_t lo = std::min(first, last);
  int64_t hi = std::max(first, last);
  const int majorEnd = xMajor ? clip.x1 : clip.y1;
  const int majorBegin = xMajor ? clip.x0 : clip.y0;
  const int minorBegin = xMajor ? clip.y0 : clip.x0;
  const int minorEnd = xMajor ? clip.y1 : clip.x1;
  lo = std::max<int64_t>(lo, majorBegin);
  hi = std::min<int64_t>(hi, majorEnd - 1);
  if (lo > hi) return;

  // The minor pixel at major pixel c is floor(minor(c) + 1/2), kept as an
  // exact quotient and remainder that are stepped along the line.
  int64_t dm = mb - ma;
  int64_t dn = nb - na;
  int64_t quotient = FloorDiv(na + kHalfPixel, kSubPixel);
  int64_t remainder = 0;
  int64_t stepQuotient = 0;
  int64_t stepRemainder = 0;
  int64_t denominator = 1;
  if (dm != 0) {
    if (dm < 0) {
      dm = -dm;
      dn = -dn;
    }
    denominator = kSubPixel * dm;
    // (minor + 1/2 pixel) * dm at major position lo, with dm made positive.
    const int64_t value = na * dm + (lo * kSubPixel - ma) * dn + kHalfPixel * dm;
    quotient = FloorDiv(value, denominator);
    remainder = value - quotient * denominator;
    const int64_t step = kSubPixel * dn;
    stepQuotient = FloorDiv(step, denominator);
    stepRemainder = step - stepQuotient * denominator;
  }

  const bool flatDepth = a.z == b.z;
  const bool flatColour = a.colour == b.colour;
  const uint16_t flatZ = DepthValue(a.z);
  const double span = static_cast<double>(mb - ma);
  const bool useDepth = target.depth != nullptr && (state.depthTest || state.depthWrite);

  // The common case, an opaque line of one colour at one depth under the
  // default depth test, goes without the per-pixel choices.
  const bool opaque =
      !state.blend || ((a.colour >> 24) == 255u && state.srcBlend == D3DBLEND_SRCALPHA &&
                       state.destBlend == D3DBLEND_INVSRCALPHA);
  const bool simple = flatDepth && flatColour && opaque && (!useDepth || state.depthTest);
  const size_t pitch = static_cast<size_t>(target.width);

  for (int64_t c = lo; c <= hi; ++c) {
    const int64_t minor = quotient;
    if (dm != 0) {
      quotient += stepQuotient;
      remainder += stepRemainder;
      if (remainder >= denominator) {
        remainder -= denominator;
        ++quotient;
      }
    }
    if (minor < minorBegin || minor >= minorEnd) continue;
    const size_t x = static_cast<size_t>(xMajor ? c : minor);
    const size_t y = static_cast<size_t>(xMajor ? minor : c);
    const size_t index = y * pitch + x;
    if (simple) {
      if (useDepth) {
        if (flatZ > target.depth[index]) continue;
        if (state.depthWrite) target.depth[index] = flatZ;
      }
      target.pixels[index] = a.colour;
      continue;
    }
    float t = 0.0f;
    if ((!flatDepth || !flatColour) && span != 0.0) {
      t = static_cast<float>(
          std::clamp((static_cast<double>(c * kSubPixel) - ma) / span, 0.0, 1.0));
    }
    if (useDepth) {
      const uint16_t z = flatDepth ? flatZ : DepthValue(a.z + (b.z - a.z) * t);
      if (state.depthTest && z > target.depth[index]) continue;  // less or equal passes
      if (state.depthWrite) target.depth[index] = z;
    }
    const uint32_t colour = flatColour ? a.colour : LerpColour(a.colour, b.colour, t);
    target.pixels[index] = Blend(state, colour, target.pixels[index]);
  }
}

}  // namespace vtrak
