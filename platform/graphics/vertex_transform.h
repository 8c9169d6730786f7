#pragma once
// The fixed-function vertex path: world, view and projection transforms, the
// near and far planes, the perspective divide and the viewport.
#include "platform/graphics/d3d9_types.h"
#include "platform/graphics/line_rasteriser.h"

namespace vtrak {

// A point after the three transforms, before the divide.
struct ClipVertex {
  float x;
  float y;
  float z;
  float w;
  uint32_t colour;
};

// a x b, row-vector convention (a is applied first).
D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b);
D3DMATRIX IdentityMatrix();

// [x y z 1] x matrix.
ClipVertex TransformPoint(const D3DMATRIX& matrix, float x, float y, float z, uint32_t colour);

// Cuts a line to 0 <= z <= w; false when nothing is left.
bool ClipLineToDepthRange(ClipVertex& a, ClipVertex& b);

// Divide and viewport: screen x, y in pixels (integers at pixel centres), z
// between the viewport's MinZ and MaxZ.
ScreenVertex ToScreen(const ClipVertex& v, const D3DVIEWPORT9& viewport);

}  // namespace vtrak
