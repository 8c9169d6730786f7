#include "render/graphics_device.h"

namespace vtrak {
namespace {

struct DeviceConfiguration {
  uint32_t deviceType;
  uint32_t behaviorFlags;
};

constexpr DeviceConfiguration kConfigurations[] = {
    {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
};

}  // namespace

HRESULT CreateGraphicsDevice(GraphicsDevice& graphics, Window* window, bool immediatePresent,
                             const Direct3DCreate9Function& create) {
  graphics.direct3d = create(D3D_SDK_VERSION);
  if (!graphics.direct3d) return E_FAIL;

  D3DDISPLAYMODE mode{};
  if (Failed(graphics.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return E_FAIL;

  D3DPRESENT_PARAMETERS& parameters = graphics.presentParameters;
  parameters = {};
  parameters.BackBufferWidth = 640;
  parameters.BackBufferHeight = 480;
  parameters.BackBufferFormat = mode.Format;
  parameters.BackBufferCount = 1;
  parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
  parameters.MultiSampleQuality = 0;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.hDeviceWindow = nullptr;  // the focus window serves
  parameters.Windowed = 1;
  parameters.EnableAutoDepthStencil = 1;
  parameters.AutoDepthStencilFormat = D3DFMT_D16;
  parameters.Flags = 0;
  parameters.FullScreen_RefreshRateInHz = 0;
  parameters.PresentationInterval =
      immediatePresent ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT;

  for (const DeviceConfiguration& configuration : kConfigurations) {
    if (Succeeded(graphics.direct3d->CreateDevice(D3DADAPTER_DEFAULT, configuration.deviceType,
                                                  window, configuration.behaviorFlags, &parameters,
                                                  graphics.device))) {
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT CreateGraphicsDevice(GraphicsDevice& graphics, Window* window, bool immediatePresent) {
  return CreateGraphicsDevice(graphics, window, immediatePresent, SdlDirect3DCreate9);
}

HRESULT CreateHeadlessGraphicsDevice(GraphicsDevice& graphics) {
  return CreateGraphicsDevice(graphics, nullptr, true, HeadlessDirect3DCreate9);
}

const uint32_t* HeadlessBackBuffer(const GraphicsDevice& graphics) {
  return graphics.device ? graphics.device->backBuffer() : nullptr;
}

void ReleaseGraphicsDevice(GraphicsDevice& graphics) {
  graphics.device.reset();
  graphics.direct3d.reset();
}

void ClearAndBeginScene(Direct3DDevice9& device) {
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  device.BeginScene();
}

}  // namespace vtrak
