// CreateGraphicsDevice's steps, fall-back order and failure rules, through an
// injected Direct3D object; the desktop path on SDL's dummy video driver.
#include "render/graphics_device.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/graphics/sdl_presenter.h"
#include "platform/window/window.h"

namespace vtrak {
namespace {

struct Attempt {
  uint32_t deviceType;
  uint32_t behaviorFlags;
  Window* focusWindow;
};

// What the fake Direct3D object saw, and how it is to fail.
struct Script {
  bool modeFails = false;
  uint32_t displayFormat = D3DFMT_X8R8G8B8;
  int attemptsToFail = 0;
  std::vector<uint32_t> sdkVersions;
  std::vector<Attempt> attempts;
  D3DPRESENT_PARAMETERS parameters{};
};

class FakeDirect3D final : public Direct3D9 {
 public:
  explicit FakeDirect3D(Script& script) : script_(script) {}
  HRESULT GetAdapterDisplayMode(uint32_t, D3DDISPLAYMODE* mode) override {
    if (script_.modeFails) return D3DERR_NOTAVAILABLE;
    *mode = {1920, 1080, 60, script_.displayFormat};
    return D3D_OK;
  }
  HRESULT CreateDevice(uint32_t, uint32_t deviceType, Window* focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters,
                       std::unique_ptr<Direct3DDevice9>& device) override {
    script_.attempts.push_back({deviceType, behaviorFlags, focusWindow});
    script_.parameters = *parameters;
    if (static_cast<int>(script_.attempts.size()) <= script_.attemptsToFail) {
      return D3DERR_NOTAVAILABLE;
    }
    device = std::make_unique<Direct3DDevice9>(*parameters, nullptr);
    return D3D_OK;
  }

 private:
  Script& script_;
};

Direct3DCreate9Function FakeCreate(Script& script) {
  return [&script](uint32_t sdkVersion) -> std::unique_ptr<Direct3D9> {
    script.sdkVersions.push_back(sdkVersion);
    return std::make_unique<FakeDirect3D>(script);
  };
}

Window* const kWindow = reinterpret_cast<Window*>(0x1000);

TEST(GraphicsDevice, TriesTheThreeConfigurationsInOrderAndStopsAtTheFirstThatWorks) {
  const std::vector<std::pair<uint32_t, uint32_t>> order = {
      {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
  };
  for (int failing = 0; failing <= 3; ++failing) {
    Script script;
    script.attemptsToFail = failing;
    GraphicsDevice graphics;
    const HRESULT hr = CreateGraphicsDevice(graphics, kWindow, false, FakeCreate(script));
    EXPECT_EQ(hr, failing < 3 ? S_OK : E_FAIL) << failing;
    EXPECT_EQ(graphics.device != nullptr, failing < 3) << failing;
    EXPECT_NE(graphics.direct3d, nullptr);
    EXPECT_EQ(script.sdkVersions, std::vector<uint32_t>{32});
    ASSERT_EQ(script.attempts.size(), static_cast<size_t>(std::min(failing + 1, 3)));
    for (size_t i = 0; i < script.attempts.size(); ++i) {
      EXPECT_EQ(script.attempts[i].deviceType, order[i].first);
      EXPECT_EQ(script.attempts[i].behaviorFlags, order[i].second);
      EXPECT_EQ(script.attempts[i].focusWindow, kWindow);
    }
  }
}

TEST(GraphicsDevice, PresentationParametersFollowTheDisplayAndThePresentOption) {
  for (const bool immediate : {false, true}) {
    Script script;
    script.displayFormat = D3DFMT_R5G6B5;  // a 16-bit desktop
    GraphicsDevice graphics;
    ASSERT_EQ(CreateGraphicsDevice(graphics, kWindow, immediate, FakeCreate(script)), S_OK);
    const D3DPRESENT_PARAMETERS& p = graphics.presentParameters;
    EXPECT_EQ(p.BackBufferWidth, 640u);
    EXPECT_EQ(p.BackBufferHeight, 480u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, 0u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, nullptr);
    EXPECT_EQ(p.Windowed, 1);
    EXPECT_EQ(p.EnableAutoDepthStencil, 1);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval,
              immediate ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT);
    EXPECT_EQ(script.parameters.PresentationInterval, p.PresentationInterval);
  }
}

TEST(GraphicsDevice, FailuresLeaveTheSlotsAsFarAsTheyGot) {
  GraphicsDevice graphics;
  EXPECT_EQ(CreateGraphicsDevice(graphics, kWindow, false, [](uint32_t) { return nullptr; }),
            E_FAIL);
  EXPECT_EQ(graphics.direct3d, nullptr);
  EXPECT_EQ(graphics.device, nullptr);

  Script script;
  script.modeFails = true;
  EXPECT_EQ(CreateGraphicsDevice(graphics, kWindow, false, FakeCreate(script)), E_FAIL);
  EXPECT_NE(graphics.direct3d, nullptr);
  EXPECT_EQ(graphics.device, nullptr);
  EXPECT_TRUE(script.attempts.empty());

  for (int round = 0; round < 2; ++round) {
    ReleaseGraphicsDevice(graphics);
    EXPECT_EQ(graphics.direct3d, nullptr);
    EXPECT_EQ(graphics.device, nullptr);
  }
  // Any other SDK version gets no object.
  EXPECT_EQ(SdlDirect3DCreate9(31), nullptr);
  EXPECT_EQ(HeadlessDirect3DCreate9(33), nullptr);
}

TEST(GraphicsDevice, HeadlessDeviceDrawsIntoMemoryAndPresentsNowhere) {
  GraphicsDevice graphics;
  ASSERT_EQ(CreateHeadlessGraphicsDevice(graphics), S_OK);
  ASSERT_NE(HeadlessBackBuffer(graphics), nullptr);
  EXPECT_EQ(graphics.device->backBufferWidth(), 640);
  EXPECT_EQ(graphics.device->backBufferHeight(), 480);
  Direct3DDevice9& device = *graphics.device;
  EXPECT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0),
            D3D_OK);
  EXPECT_EQ(device.BeginScene(), D3D_OK);
  EXPECT_EQ(device.EndScene(), D3D_OK);
  EXPECT_EQ(device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(HeadlessBackBuffer(graphics)[640 * 480 - 1], 0xFF000000u);
  EXPECT_EQ(device.depthBuffer()[0], 0xFFFF);
  ReleaseGraphicsDevice(graphics);
  EXPECT_EQ(HeadlessBackBuffer(graphics), nullptr);
}

TEST(GraphicsDevice, ClearFillsTheWholeTargetOrJustTheGivenRectangles) {
  GraphicsDevice graphics;
  ASSERT_EQ(CreateHeadlessGraphicsDevice(graphics), S_OK);
  Direct3DDevice9& device = *graphics.device;
  const uint32_t* pixels = device.backBuffer();
  const uint16_t* depth = device.depthBuffer();
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 0.5f, 0);
  EXPECT_EQ(std::count(pixels, pixels + 640 * 480, 0xFF000000u), 640 * 480);
  EXPECT_EQ(std::count(depth, depth + 640 * 480, uint16_t{32768}), 640 * 480);

  // Two rectangles, one reaching past the edge; the depth buffer untouched.
  const D3DRECT rects[2] = {{10, 20, 13, 22}, {630, 470, 700, 500}};
  device.Clear(2, rects, D3DCLEAR_TARGET, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_EQ(std::count(pixels, pixels + 640 * 480, 0xFFFFFFFFu), 3 * 2 + 10 * 10);
  EXPECT_EQ(pixels[20 * 640 + 10], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[21 * 640 + 12], 0xFFFFFFFFu);
  EXPECT_EQ(pixels[22 * 640 + 12], 0xFF000000u);
  EXPECT_EQ(pixels[479 * 640 + 639], 0xFFFFFFFFu);
  EXPECT_EQ(depth[20 * 640 + 10], 32768);
  EXPECT_EQ(device.Clear(1, nullptr, D3DCLEAR_TARGET, 0u, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST(GraphicsDevice, OnTheDummyDisplayTheSoftwareRendererServesAndCannotSync) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    std::unique_ptr<Window> window = Window::Create("dolk", "V-TRAK");
    ASSERT_NE(window, nullptr);
    GraphicsDevice graphics;
    ASSERT_EQ(CreateGraphicsDevice(graphics, window.get(), false), S_OK);
    SDL_Renderer* renderer = SDL_GetRenderer(window->sdl());
    ASSERT_NE(renderer, nullptr);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    EXPECT_STREQ(info.name, "software");
    EXPECT_FALSE(RendererMaySync(renderer));
    EXPECT_EQ(graphics.presentParameters.BackBufferFormat, D3DFMT_X8R8G8B8);

    // A second device for the same window is refused in every configuration.
    GraphicsDevice second;
    EXPECT_EQ(CreateGraphicsDevice(second, window.get(), false), E_FAIL);
    // And one without a window.
    GraphicsDevice orphan;
    EXPECT_EQ(CreateGraphicsDevice(orphan, nullptr, false), E_FAIL);

    graphics.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    EXPECT_EQ(graphics.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ReleaseGraphicsDevice(graphics);
    ReleaseGraphicsDevice(second);
  }
  SDL_Quit();
}

}  // namespace
}  // namespace vtrak
