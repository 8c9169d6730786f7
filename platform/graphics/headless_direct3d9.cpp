#include "platform/graphics/direct3d9.h"

namespace vtrak {
namespace {

class HeadlessDirect3D9 final : public Direct3D9 {
 public:
  HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) override {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) return D3DERR_INVALIDCALL;
    *mode = {640, 480, 60, D3DFMT_X8R8G8B8};
    return D3D_OK;
  }

  HRESULT CreateDevice(uint32_t adapter, uint32_t, Window*, uint32_t,
                       D3DPRESENT_PARAMETERS* parameters,
                       std::unique_ptr<Direct3DDevice9>& device) override {
    if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr ||
        parameters->BackBufferWidth == 0 || parameters->BackBufferHeight == 0) {
      return D3DERR_INVALIDCALL;
    }
    device = std::make_unique<Direct3DDevice9>(*parameters, nullptr);
    return D3D_OK;
  }
};

}  // namespace

std::unique_ptr<Direct3D9> HeadlessDirect3DCreate9(uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return std::make_unique<HeadlessDirect3D9>();
}

}  // namespace vtrak
