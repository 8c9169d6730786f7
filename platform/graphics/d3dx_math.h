#pragma once
// The camera matrices of the drawing helpers: left-handed perspective by
// vertical field of view, and left-handed look-at, in the device's row-major,
// row-vector layout.
#include "platform/graphics/d3d9_types.h"

namespace vtrak {

struct D3DXVECTOR3 {
  float x;
  float y;
  float z;
};

D3DMATRIX* D3DXMatrixPerspectiveFovLH(D3DMATRIX* out, float fovY, float aspect, float zNear,
                                      float zFar);
D3DMATRIX* D3DXMatrixLookAtLH(D3DMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                              const D3DXVECTOR3* up);

}  // namespace vtrak
