#pragma once
// A Canvas on the headless software device, with helpers to read its frame.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "render/canvas.h"
#include "render/graphics_device.h"

namespace vtrak::testing {

inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kBlack = 0xFF000000u;
// A clear colour no drawing uses, so every drawn pixel shows.
inline constexpr uint32_t kBackground = 0xFF203040u;

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

class CanvasFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CreateHeadlessGraphicsDevice(graphics), S_OK);
    ASSERT_EQ(SetupCanvas(canvas, graphics.device.get()), S_OK);
    BeginFrame();
  }
  void TearDown() override { ReleaseCanvasAndDevice(canvas, graphics); }

  // Clears as the frame loop does, but to the marker colour, and begins the scene.
  void BeginFrame(uint32_t colour = kBackground) {
    Direct3DDevice9* device = graphics.device.get();
    device->EndScene();  // harmless when no scene is open
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
    device->BeginScene();
  }

  uint32_t Pixel(int x, int y) const { return HeadlessBackBuffer(graphics)[y * 640 + x]; }

  // Every pixel of the given colour.
  PixelSet PixelsOf(uint32_t colour) const {
    PixelSet out;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (Pixel(x, y) == colour) out.insert({x, y});
    return out;
  }

  // Every pixel that is not the clear colour.
  PixelSet Drawn() const {
    PixelSet out;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (Pixel(x, y) != kBackground) out.insert({x, y});
    return out;
  }

  static PixelSet Row(int y, int x0, int x1) {
    PixelSet out;
    for (int x = x0; x <= x1; ++x) out.insert({x, y});
    return out;
  }
  static PixelSet Column(int x, int y0, int y1) {
    PixelSet out;
    for (int y = y0; y <= y1; ++y) out.insert({x, y});
    return out;
  }

  GraphicsDevice graphics;
  Canvas canvas;
};

}  // namespace vtrak::testing
