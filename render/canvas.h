#pragma once
// The Canvas: draws lines and outlined text in pixel coordinates on the
// GraphicsDevice's device. The camera set up here makes one world unit one
// pixel: pixel (x, y) is the world point (x + 320, 720 - y, 0).
#include <array>
#include <cstdint>
#include <memory>

#include "game/drawing_surface.h"
#include "platform/core/result.h"
#include "platform/font/d3dx_font.h"
#include "platform/graphics/d3dx_sprite.h"
#include "platform/graphics/direct3d_device9.h"

namespace vtrak {

// A line's vertex: position and colour (vertex format 0x42).
struct LineVertex {
  float x;
  float y;
  float z;
  uint32_t colour;
};
static_assert(sizeof(LineVertex) == 16);
inline constexpr uint32_t kLineVertexFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// A spare vertex: position, normal, colour and one pair of texture
// coordinates (vertex format 0x152).
struct SpareVertex {
  float x, y, z;
  float nx, ny, nz;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(SpareVertex) == 36);
inline constexpr uint32_t kSpareVertexFormat =
    D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct Canvas : DrawingSurface {
  Direct3DDevice9* device = nullptr;  // borrowed from the GraphicsDevice, never released here
  std::array<std::unique_ptr<D3DXFont>, 8> fonts;
  std::unique_ptr<D3DXSprite> sprite;
  std::array<std::unique_ptr<Direct3DTexture9>, 64> textures;
  std::unique_ptr<Direct3DVertexBuffer9> lineBuffer;
  std::unique_ptr<Direct3DVertexBuffer9> spareQuadBuffer;
  std::unique_ptr<Direct3DVertexBuffer9> sparePairBuffer;

  void DrawLine(uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawOutlinedText(int32_t x, int32_t y, const char* text) override;
};

// Stores the device, makes the sprite and the two spare buffers and sets the
// camera and the drawing states, once. E_FAIL when the sprite or a spare
// buffer cannot be made.
HRESULT SetupCanvas(Canvas& canvas, Direct3DDevice9* device);
// (Re)makes the font in slot 0; slot 0 stays empty when no face can be had.
void CreateCanvasFont(Canvas& canvas);
// A one-pixel line between two pixels, both ends included; a new vertex
// buffer replaces the previous line's. Nothing is drawn when the buffer
// cannot be made or locked.
void DrawLine(Canvas& canvas, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// The text in black at (x, y), ringed by white copies one pixel left, right,
// up and down, each in its own 640 x 128 box. Nothing without a font.
void DrawOutlinedText(Canvas& canvas, int32_t x, int32_t y, const char* text);
// Releases the sprite, the texture slots, the font slots and the line buffer;
// the device and the two spare buffers are left to the caller.
void ReleaseCanvas(Canvas& canvas);

struct GraphicsDevice;
// Shutdown's drawing half: ReleaseCanvas, then the two spare buffers, then
// the device and the Direct3D object.
void ReleaseCanvasAndDevice(Canvas& canvas, GraphicsDevice& graphics);

}  // namespace vtrak
