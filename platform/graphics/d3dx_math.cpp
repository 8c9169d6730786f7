#include "platform/graphics/d3dx_math.h"

#include <cstring>
#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/mat4x4.hpp>

namespace vtrak {
namespace {

// GLM keeps column vectors in column-major order; the transpose that turns its
// matrix into the row-vector form is exactly the change of storage order, so
// the sixteen floats copy across unchanged.
void Store(const glm::mat4& matrix, D3DMATRIX* out) {
  static_assert(sizeof(glm::mat4) == sizeof(D3DMATRIX));
  std::memcpy(out->m, &matrix[0][0], sizeof(D3DMATRIX));
}

}  // namespace

D3DMATRIX* D3DXMatrixPerspectiveFovLH(D3DMATRIX* out, float fovY, float aspect, float zNear,
                                      float zFar) {
  Store(glm::perspectiveLH_ZO(fovY, aspect, zNear, zFar), out);
  return out;
}

D3DMATRIX* D3DXMatrixLookAtLH(D3DMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                              const D3DXVECTOR3* up) {
  Store(glm::lookAtLH(glm::vec3(eye->x, eye->y, eye->z), glm::vec3(at->x, at->y, at->z),
                      glm::vec3(up->x, up->y, up->z)),
        out);
  return out;
}

}  // namespace vtrak
