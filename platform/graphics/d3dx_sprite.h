#pragma once
// The drawing helpers' sprite. The game makes one and never draws with it; it
// holds the quad buffer a sprite batches into, made on the device.
#include <memory>

#include "platform/graphics/direct3d_device9.h"

namespace vtrak {

class D3DXSprite {
 public:
  explicit D3DXSprite(std::unique_ptr<Direct3DVertexBuffer9> quads) : quads_(std::move(quads)) {}

 private:
  std::unique_ptr<Direct3DVertexBuffer9> quads_;
};

// Fails (D3DERR_INVALIDCALL) with no device, or with the device's error when
// its buffer cannot be made.
HRESULT D3DXCreateSprite(Direct3DDevice9* device, std::unique_ptr<D3DXSprite>& sprite);

}  // namespace vtrak
