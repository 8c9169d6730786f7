#pragma once
// The GraphicsDevice: the Direct3D object and the one device that draws into
// the game window, made with the best of three configurations the machine
// accepts.
#include <memory>

#include "platform/core/result.h"
#include "platform/graphics/direct3d9.h"

namespace vtrak {

class Window;

struct GraphicsDevice {
  std::unique_ptr<Direct3D9> direct3d;
  std::unique_ptr<Direct3DDevice9> device;
  D3DPRESENT_PARAMETERS presentParameters{};
};

// Makes the device for `window` (its focus window) through `create`: the
// Direct3D object, the display mode, the presentation parameters, then the
// device: hardware with hardware vertex processing, hardware with software
// vertex processing, the reference device. S_OK, or E_FAIL at the first step
// that fails.
HRESULT CreateGraphicsDevice(GraphicsDevice& graphics, Window* window, bool immediatePresent,
                             const Direct3DCreate9Function& create);
// The same on the desktop, presenting through SDL.
HRESULT CreateGraphicsDevice(GraphicsDevice& graphics, Window* window, bool immediatePresent);
// A device with no window: the software back buffer only; presenting shows
// nothing and never waits. Read the frame with HeadlessBackBuffer.
HRESULT CreateHeadlessGraphicsDevice(GraphicsDevice& graphics);
// The device's back buffer, 640 x 480 ARGB pixels row-major; null without a
// device.
const uint32_t* HeadlessBackBuffer(const GraphicsDevice& graphics);

// Releases the device, then the Direct3D object; a second call does nothing.
void ReleaseGraphicsDevice(GraphicsDevice& graphics);

// A frame's start: the back buffer cleared to opaque black and the depth
// buffer to 1.0, then the scene begun.
void ClearAndBeginScene(Direct3DDevice9& device);

}  // namespace vtrak
