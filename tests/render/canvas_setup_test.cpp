// SetupCanvas, CreateCanvasFont and the release rules, on a device whose
// buffer and lock steps can be made to fail.
#include <algorithm>
#include <memory>

#include "tests/render/render_fixture.h"

namespace vtrak::testing {
namespace {

// A vertex buffer whose Lock always fails.
class UnlockableBuffer final : public Direct3DVertexBuffer9 {
 public:
  using Direct3DVertexBuffer9::Direct3DVertexBuffer9;
  HRESULT Lock(uint32_t, uint32_t, void**, uint32_t) override { return D3DERR_INVALIDCALL; }
};

// The software device with CreateVertexBuffer failing on chosen calls.
class FailingDevice final : public Direct3DDevice9 {
 public:
  FailingDevice() : Direct3DDevice9(Parameters(), nullptr) {}

  HRESULT CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                             std::unique_ptr<Direct3DVertexBuffer9>& buffer,
                             void* shared) override {
    ++calls;
    if (calls == failCall || failAll) return E_OUTOFMEMORY;
    if (unlockable) {
      buffer = std::make_unique<UnlockableBuffer>(length, usage, fvf, pool);
      return D3D_OK;
    }
    return Direct3DDevice9::CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
  }

  static D3DPRESENT_PARAMETERS Parameters() {
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    p.EnableAutoDepthStencil = 1;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    return p;
  }

  int calls = 0;
  int failCall = 0;
  bool failAll = false;
  bool unlockable = false;
};

// A white line across a cleared frame: the pixels it lights.
long LitByALine(FailingDevice& device, Canvas& canvas) {
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
  device.BeginScene();
  DrawLine(canvas, kWhite, 0, 240, 639, 240);
  return std::count(device.backBuffer(), device.backBuffer() + 640 * 480, kWhite);
}

TEST(CanvasSetup, MakesItsObjectsAndLinesShowUnlitAndBlendedByTheirAlpha) {
  FailingDevice device;
  Canvas canvas;
  ASSERT_EQ(SetupCanvas(canvas, &device), S_OK);
  EXPECT_EQ(canvas.device, &device);
  EXPECT_NE(canvas.sprite, nullptr);
  EXPECT_EQ(canvas.lineBuffer, nullptr);
  for (const auto& font : canvas.fonts) EXPECT_EQ(font, nullptr);
  EXPECT_NE(canvas.spareQuadBuffer, nullptr);
  EXPECT_NE(canvas.sparePairBuffer, nullptr);

  // A line keeps its own colour (no lighting), and a quarter-opaque one
  // drawn across it at the same depth is laid over by its alpha, as over
  // the black around it.
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
  device.BeginScene();
  DrawLine(canvas, 0xFF00FF00u, 10, 10, 20, 10);
  DrawLine(canvas, 0x40FF0000u, 15, 5, 15, 15);
  const uint32_t* frame = device.backBuffer();
  EXPECT_EQ(frame[10 * 640 + 12], 0xFF00FF00u);
  EXPECT_EQ(frame[10 * 640 + 15], 0xCF40BF00u);
  EXPECT_EQ(frame[5 * 640 + 15], 0xCF400000u);

  CreateCanvasFont(canvas);
  EXPECT_NE(canvas.fonts[0], nullptr);
  for (size_t i = 1; i < canvas.fonts.size(); ++i) EXPECT_EQ(canvas.fonts[i], nullptr);
}

TEST(CanvasSetup, StopsAtTheFirstObjectItCannotMakeAndThenDrawsNothing) {
  // The sprite, the quad buffer, the pair buffer: the camera's view, set
  // last, is missing after each, so the game's lines fall outside the frame.
  for (int failing = 1; failing <= 3; ++failing) {
    SCOPED_TRACE(failing);
    FailingDevice device;
    device.failCall = failing;
    Canvas canvas;
    EXPECT_EQ(SetupCanvas(canvas, &device), E_FAIL);
    EXPECT_EQ(canvas.sprite == nullptr, failing == 1);
    EXPECT_EQ(canvas.spareQuadBuffer == nullptr, failing <= 2);
    EXPECT_EQ(canvas.sparePairBuffer, nullptr);
    EXPECT_EQ(LitByALine(device, canvas), 0);
  }
  FailingDevice device;
  Canvas canvas;
  ASSERT_EQ(SetupCanvas(canvas, &device), S_OK);
  EXPECT_EQ(LitByALine(device, canvas), 640);
}

TEST(CanvasSetup, LinesAreSkippedWhenTheirBufferCannotBeMadeOrLocked) {
  FailingDevice device;
  Canvas canvas;
  ASSERT_EQ(SetupCanvas(canvas, &device), S_OK);
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
  device.BeginScene();

  DrawLine(canvas, kWhite, 10, 10, 20, 10);
  Direct3DVertexBuffer9* first = canvas.lineBuffer.get();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->length(), 32u);
  EXPECT_EQ(first->fvf(), 0x42u);
  DrawLine(canvas, kWhite, 10, 12, 20, 12);
  EXPECT_NE(canvas.lineBuffer, nullptr);

  device.failAll = true;
  DrawLine(canvas, kWhite, 10, 30, 20, 30);
  EXPECT_EQ(canvas.lineBuffer, nullptr);
  device.failAll = false;
  device.unlockable = true;
  DrawLine(canvas, kWhite, 10, 40, 20, 40);
  device.unlockable = false;

  const uint32_t* frame = device.backBuffer();
  EXPECT_EQ(frame[10 * 640 + 15], kWhite);
  EXPECT_EQ(frame[12 * 640 + 15], kWhite);
  EXPECT_EQ(frame[30 * 640 + 15], kBlack);
  EXPECT_EQ(frame[40 * 640 + 15], kBlack);

  // The next line after a failure draws again.
  DrawLine(canvas, kWhite, 10, 50, 20, 50);
  EXPECT_EQ(frame[50 * 640 + 15], kWhite);
}

TEST(CanvasSetup, FontFailureLeavesSlotZeroEmpty) {
  Canvas canvas;  // no device: the font cannot be made
  CreateCanvasFont(canvas);
  EXPECT_EQ(canvas.fonts[0], nullptr);

  FailingDevice device;
  ASSERT_EQ(SetupCanvas(canvas, &device), S_OK);
  CreateCanvasFont(canvas);
  const D3DXFont* first = canvas.fonts[0].get();
  ASSERT_NE(first, nullptr);
  CreateCanvasFont(canvas);  // made again, replacing the first
  EXPECT_NE(canvas.fonts[0], nullptr);
}

TEST(CanvasRelease, EmptiesEverySlotOnceAndLeavesTheRestToTheShell) {
  GraphicsDevice graphics;
  ASSERT_EQ(CreateHeadlessGraphicsDevice(graphics), S_OK);
  Canvas canvas;
  ASSERT_EQ(SetupCanvas(canvas, graphics.device.get()), S_OK);
  CreateCanvasFont(canvas);
  canvas.textures[5] = std::make_unique<Direct3DTexture9>();
  graphics.device->BeginScene();
  DrawLine(canvas, kWhite, 0, 0, 5, 5);
  ASSERT_NE(canvas.lineBuffer, nullptr);

  for (int round = 0; round < 2; ++round) {
    ReleaseCanvas(canvas);
    EXPECT_EQ(canvas.sprite, nullptr);
    for (const auto& texture : canvas.textures) EXPECT_EQ(texture, nullptr);
    for (const auto& font : canvas.fonts) EXPECT_EQ(font, nullptr);
    EXPECT_EQ(canvas.lineBuffer, nullptr);
    EXPECT_EQ(canvas.device, graphics.device.get());
    EXPECT_NE(canvas.spareQuadBuffer, nullptr);
    EXPECT_NE(canvas.sparePairBuffer, nullptr);
  }
  // The shell's order: the spare buffers, then the device.
  canvas.sparePairBuffer.reset();
  canvas.spareQuadBuffer.reset();
  for (int round = 0; round < 2; ++round) {
    ReleaseGraphicsDevice(graphics);
    EXPECT_EQ(graphics.device, nullptr);
    EXPECT_EQ(graphics.direct3d, nullptr);
  }
}

}  // namespace
}  // namespace vtrak::testing
