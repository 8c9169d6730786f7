#include "platform/graphics/vertex_transform.h"

namespace vtrak {

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX out{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      out.m[r][c] = a.m[r][0] * b.m[0][c] + a.m[r][1] * b.m[1][c] + a.m[r][2] * b.m[2][c] +
                    a.m[r][3] * b.m[3][c];
    }
  }
  return out;
}

D3DMATRIX IdentityMatrix() {
  D3DMATRIX out{};
  for (int i = 0; i < 4; ++i) out.m[i][i] = 1.0f;
  return out;
}

ClipVertex TransformPoint(const D3DMATRIX& m, float x, float y, float z, uint32_t colour) {
  return {x * m.m[0][0] + y * m.m[1][0] + z * m.m[2][0] + m.m[3][0],
          x * m.m[0][1] + y * m.m[1][1] + z * m.m[2][1] + m.m[3][1],
          x * m.m[0][2] + y * m.m[1][2] + z * m.m[2][2] + m.m[3][2],
          x * m.m[0][3] + y * m.m[1][3] + z * m.m[2][3] + m.m[3][3], colour};
}

namespace {

ClipVertex LerpClip(const ClipVertex& a, const ClipVertex& b, float t) {
  ClipVertex out{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
                 a.w + (b.w - a.w) * t, a.colour};
  if (a.colour != b.colour) {
    out.colour = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const float ca = static_cast<float>((a.colour >> shift) & 0xFFu);
      const float cb = static_cast<float>((b.colour >> shift) & 0xFFu);
      out.colour |= static_cast<uint32_t>(ca + (cb - ca) * t + 0.5f) << shift;
    }
  }
  return out;
}

// Keeps the part of the line where distance(v) >= 0.
template <typename Distance>
bool ClipAgainst(ClipVertex& a, ClipVertex& b, Distance distance) {
  const float da = distance(a);
  const float db = distance(b);
  if (da < 0.0f && db < 0.0f) return false;
  if (da < 0.0f) a = LerpClip(a, b, da / (da - db));
  if (db < 0.0f) b = LerpClip(b, a, db / (db - da));
  return true;
}

}  // namespace

bool ClipLineToDepthRange(ClipVertex& a, ClipVertex& b) {
  return ClipAgainst(a, b, [](const ClipVertex& v) { return v.z; }) &&
         ClipAgainst(a, b, [](const ClipVertex& v) { return v.w - v.z; });
}

ScreenVertex ToScreen(const ClipVertex& v, const D3DVIEWPORT9& viewport) {
  const float inverseW = 1.0f / v.w;
  const float halfWidth = static_cast<float>(viewport.Width) * 0.5f;
  const float halfHeight = static_cast<float>(viewport.Height) * 0.5f;
  // x = -1 lands on screen position X, which this device, like the hardware
  // it stands in for, takes as the centre of the first column.
  return {static_cast<float>(viewport.X) + (v.x * inverseW + 1.0f) * halfWidth,
          static_cast<float>(viewport.Y) + (1.0f - v.y * inverseW) * halfHeight,
          viewport.MinZ + v.z * inverseW * (viewport.MaxZ - viewport.MinZ), v.colour};
}

}  // namespace vtrak
