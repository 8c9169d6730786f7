#include "platform/graphics/d3dx_sprite.h"

namespace vtrak {
namespace {
// Room for one batch of quads: 4 vertices of position, colour and texture
// coordinates (24 bytes) each.
constexpr uint32_t kSpriteBatchBytes = 64 * 4 * 24;
constexpr uint32_t kSpriteVertexFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr uint32_t D3DUSAGE_DYNAMIC = 0x200;
constexpr uint32_t D3DPOOL_DEFAULT = 0;
}  // namespace

HRESULT D3DXCreateSprite(Direct3DDevice9* device, std::unique_ptr<D3DXSprite>& sprite) {
  if (device == nullptr) return D3DERR_INVALIDCALL;
  std::unique_ptr<Direct3DVertexBuffer9> quads;
  const HRESULT hr =
      device->CreateVertexBuffer(kSpriteBatchBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                 kSpriteVertexFormat, D3DPOOL_DEFAULT, quads, nullptr);
  if (Failed(hr)) return hr;
  sprite = std::make_unique<D3DXSprite>(std::move(quads));
  return D3D_OK;
}

}  // namespace vtrak
