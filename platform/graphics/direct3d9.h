#pragma once
// The Direct3D object: reports the desktop's display mode and makes devices.
// Direct3DCreate9 is a function value, so that a test can stand in an object
// whose steps fail.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/d3d9_types.h"
#include "platform/graphics/direct3d_device9.h"

namespace vtrak {

class Direct3D9 {
 public:
  virtual ~Direct3D9() = default;
  virtual HRESULT GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* mode) = 0;
  virtual HRESULT CreateDevice(uint32_t adapter, uint32_t deviceType, Window* focusWindow,
                               uint32_t behaviorFlags, D3DPRESENT_PARAMETERS* parameters,
                               std::unique_ptr<Direct3DDevice9>& device) = 0;
};

// Returns the object for the given SDK version, or null.
using Direct3DCreate9Function = std::function<std::unique_ptr<Direct3D9>(uint32_t sdkVersion)>;

// The desktop: SDL's display mode; devices present to the focus window through
// an SDL renderer (HAL with hardware vertex processing: an accelerated
// renderer; HAL with software vertex processing: any renderer; the reference
// device: SDL's software renderer). Null for an SDK version other than 32.
std::unique_ptr<Direct3D9> SdlDirect3DCreate9(uint32_t sdkVersion);

// No display: a 640 x 480 32-bit mode at 60 Hz; devices of every type are made
// without a window and presenting shows nothing.
std::unique_ptr<Direct3D9> HeadlessDirect3DCreate9(uint32_t sdkVersion);

}  // namespace vtrak
