// Lines through the real Canvas into the software device: which pixels light.
#include <climits>

#include "platform/graphics/vertex_transform.h"
#include "tests/render/render_fixture.h"

namespace vtrak::testing {
namespace {

using CanvasLines = CanvasFixture;

TEST_F(CanvasLines, LightBothEndsAndAreClippedAtTheClientAreaNotWrapped) {
  const struct {
    int32_t x1, y1, x2, y2;
    PixelSet lit;
  } cases[] = {
      {80, 60, 560, 60, Row(60, 80, 560)},
      {80, 60, 80, 400, Column(80, 60, 400)},
      {80, 400, 80, 60, Column(80, 60, 400)},  // drawn backwards, the same pixels
      {-100, 100, 700, 100, Row(100, 0, 639)},
      {10, -100, 10, 600, Column(10, 0, 479)},
      {600, 240, 900, 240, Row(240, 600, 639)},
      {-5000000, 300, 5000000, 300, Row(300, 0, 639)},  // ends millions of pixels away
      // Wholly outside, on every side, and far away.
      {700, 10, 900, 10, {}},
      {-50, -5, 50, -5, {}},
      {100, 480, 300, 480, {}},
      {-1, 0, -1, 479, {}},
      {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN + 5, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
    BeginFrame();
    DrawLine(canvas, kWhite, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Drawn(), c.lit);
  }
}

TEST_F(CanvasLines, SlopedLineLightsOnePixelPerColumnFromEndToEnd) {
  DrawLine(canvas, kWhite, 10, 20, 30, 30);
  const PixelSet lit = Drawn();
  ASSERT_EQ(lit.size(), 21u);
  EXPECT_TRUE(lit.count({10, 20}) && lit.count({30, 30}));
  int previousRow = 20;
  for (int x = 10; x <= 30; ++x) {
    int rows = 0;
    for (int y = 20; y <= 30; ++y) {
      if (lit.count({x, y}) == 0) continue;
      ++rows;
      EXPECT_TRUE(y == previousRow || y == previousRow + 1) << x;
      previousRow = y;
    }
    EXPECT_EQ(rows, 1) << x;
  }

  // A steep line lights one pixel per row; one clipped at the right edge
  // keeps the pixels inside and no others.
  BeginFrame();
  DrawLine(canvas, kWhite, 620, 100, 660, 300);
  const PixelSet steep = Drawn();
  EXPECT_EQ(steep.size(), 98u);  // x = 620 + (y - 100) / 5 rounds to 639 at most up to row 197
  for (const auto& [x, y] : steep) EXPECT_TRUE(x >= 620 && x <= 639 && y >= 100 && y <= 197);
}

TEST_F(CanvasLines, SuccessiveLinesAllStayAndLaterOnesCoverEarlierOnes) {
  DrawLine(canvas, kWhite, 80, 60, 560, 60);
  DrawLine(canvas, kWhite, 80, 400, 560, 400);
  PixelSet both = Row(60, 80, 560);
  both.merge(Row(400, 80, 560));
  EXPECT_EQ(Drawn(), both);

  DrawLine(canvas, 0xFFFF0000u, 300, 0, 300, 479);
  EXPECT_EQ(Pixel(300, 60), 0xFFFF0000u);
  EXPECT_EQ(Pixel(300, 400), 0xFFFF0000u);
  EXPECT_EQ(Pixel(301, 60), kWhite);
}

TEST_F(CanvasLines, ColourIsBlendedByItsAlpha) {
  DrawLine(canvas, 0x80FF0000u, 0, 5, 9, 5);
  // Per channel, alpha included: 0xFF * 128/255 + 0x20 * 127/255 = 0x90 for
  // red, 0x80 * 128/255 + 0xFF * 127/255 = 0xBF for alpha.
  EXPECT_EQ(Pixel(0, 5), 0xBF901820u);
  DrawLine(canvas, 0x00FFFFFFu, 0, 6, 9, 6);
  EXPECT_EQ(Pixel(0, 6), kBackground);
}

TEST_F(CanvasLines, EveryPixelCentreIsHitExactly) {
  // The camera set up by the Canvas puts the world point of pixel (x, y) on
  // that pixel's centre, and a one-point line lights exactly that pixel.
  D3DMATRIX world, view, projection;
  Direct3DDevice9* device = graphics.device.get();
  device->GetTransform(D3DTS_WORLD, &world);
  device->GetTransform(D3DTS_VIEW, &view);
  device->GetTransform(D3DTS_PROJECTION, &projection);
  D3DVIEWPORT9 viewport;
  device->GetViewport(&viewport);
  const D3DMATRIX all = Multiply(Multiply(world, view), projection);

  uint32_t state = 12345;
  std::vector<std::pair<int, int>> samples = {{0, 0}, {639, 479}, {639, 0}, {0, 479}, {320, 240}};
  for (int i = 0; i < 200; ++i) {
    state = state * 1103515245u + 12345u;
    samples.push_back(
        {static_cast<int>((state >> 8) % 640), static_cast<int>((state >> 20) % 480)});
  }
  for (const auto& [x, y] : samples) {
    const ClipVertex clip =
        TransformPoint(all, static_cast<float>(x + 320), static_cast<float>(720 - y), 0.0f, kWhite);
    const ScreenVertex screen = ToScreen(clip, viewport);
    EXPECT_NEAR(screen.x, x, 1.0 / 512) << x << "," << y;
    EXPECT_NEAR(screen.y, y, 1.0 / 512) << x << "," << y;
    EXPECT_GT(screen.z, 0.0f);
    EXPECT_LT(screen.z, 1.0f);

    BeginFrame();
    DrawLine(canvas, kWhite, x, y, x, y);
    EXPECT_EQ(Drawn(), PixelSet({{x, y}})) << x << "," << y;
  }
}

}  // namespace
}  // namespace vtrak::testing
