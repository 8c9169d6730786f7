#include "platform/graphics/vertex_buffer.h"

#include "platform/graphics/d3d9_types.h"

namespace vtrak {

Direct3DVertexBuffer9::Direct3DVertexBuffer9(uint32_t length, uint32_t usage, uint32_t fvf,
                                             uint32_t pool)
    : length_(length),
      usage_(usage),
      fvf_(fvf),
      pool_(pool),
      storage_(new uint8_t[length]()) {}  // zeroed, as a new buffer is

HRESULT Direct3DVertexBuffer9::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
  if (data == nullptr || locked_ || offset > length_) return D3DERR_INVALIDCALL;
  if (size != 0 && size > length_ - offset) return D3DERR_INVALIDCALL;
  locked_ = true;
  *data = storage_.get() + offset;
  return D3D_OK;
}

HRESULT Direct3DVertexBuffer9::Unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  return D3D_OK;
}

}  // namespace vtrak
