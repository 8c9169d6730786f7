#include <SDL2/SDL.h>

#include "platform/graphics/direct3d9.h"
#include "platform/graphics/window_presenter.h"
#include "platform/window/window.h"

namespace vtrak {
namespace {

uint32_t FormatOf(uint32_t sdlFormat) {
  if (sdlFormat == SDL_PIXELFORMAT_RGB565) return D3DFMT_R5G6B5;
  if (SDL_BITSPERPIXEL(sdlFormat) == 15 || SDL_BITSPERPIXEL(sdlFormat) == 16) {
    return D3DFMT_X1R5G5B5;
  }
  return D3DFMT_X8R8G8B8;
}

// The SDL renderer flags that stand for a device type and vertex processing:
// false for a combination no device is made for.
bool RendererFlagsFor(uint32_t deviceType, uint32_t behaviorFlags, uint32_t& flags) {
  const uint32_t processing =
      behaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  if (processing != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING) {
    return false;
  }
  if (deviceType == D3DDEVTYPE_HAL) {
    flags = processing == D3DCREATE_HARDWARE_VERTEXPROCESSING
                ? static_cast<uint32_t>(SDL_RENDERER_ACCELERATED)
                : 0u;
    return true;
  }
  if (deviceType == D3DDEVTYPE_REF) {
    flags = static_cast<uint32_t>(SDL_RENDERER_SOFTWARE);
    return true;
  }
  return false;
}

class SdlDirect3D9 final : public Direct3D9 {
 public:
  HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) override {
    if (mode == nullptr) return D3DERR_INVALIDCALL;
    SDL_DisplayMode current{};
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 ||
        SDL_GetCurrentDisplayMode(static_cast<int>(adapter), &current) != 0) {
      return D3DERR_NOTAVAILABLE;
    }
    *mode = {static_cast<uint32_t>(current.w), static_cast<uint32_t>(current.h),
             static_cast<uint32_t>(current.refresh_rate), FormatOf(current.format)};
    return D3D_OK;
  }

  HRESULT CreateDevice(uint32_t adapter, uint32_t deviceType, Window* focusWindow,
                       uint32_t behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                       std::unique_ptr<Direct3DDevice9>& device) override {
    if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr) return D3DERR_INVALIDCALL;
    Window* window = parameters->hDeviceWindow != nullptr ? parameters->hDeviceWindow : focusWindow;
    uint32_t flags = 0;
    if (window == nullptr || window->sdl() == nullptr ||
        !RendererFlagsFor(deviceType, behaviorFlags, flags) || parameters->BackBufferWidth == 0 ||
        parameters->BackBufferHeight == 0 ||
        (parameters->EnableAutoDepthStencil && parameters->AutoDepthStencilFormat != D3DFMT_D16)) {
      return D3DERR_INVALIDCALL;
    }
    if (!parameters->Windowed) return D3DERR_NOTAVAILABLE;
    const bool paced = parameters->PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    std::unique_ptr<Presenter> presenter =
        CreateWindowPresenter(*window, flags, static_cast<int>(parameters->BackBufferWidth),
                              static_cast<int>(parameters->BackBufferHeight), paced);
    if (!presenter) return D3DERR_NOTAVAILABLE;
    device = std::make_unique<Direct3DDevice9>(*parameters, std::move(presenter));
    return D3D_OK;
  }
};

}  // namespace

std::unique_ptr<Direct3D9> SdlDirect3DCreate9(uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return std::make_unique<SdlDirect3D9>();
}

}  // namespace vtrak
