// The first frame of a fresh run, drawn by the real Game through the real
// Canvas into the software device, against the picture it should make.
#include <vector>

#include "game/game.h"
#include "platform/graphics/png_writer.h"
#include "tests/render/render_fixture.h"
#include "tools/headless/headless_game.h"

namespace vtrak::testing {
namespace {

class GameFrame : public CanvasFixture {
 protected:
  void SetUp() override {
    CanvasFixture::SetUp();
    CreateCanvasFont(canvas);
    ASSERT_NE(canvas.fonts[0], nullptr);
  }

  std::vector<uint32_t> Frame() const {
    const uint32_t* pixels = HeadlessBackBuffer(graphics);
    return {pixels, pixels + 640 * 480};
  }
};

TEST_F(GameFrame, FirstStepOfAFreshRunDrawsThePlayfieldAndTheTexts) {
  // The texts alone, on the marker colour, to lay over the lines.
  DrawOutlinedText(canvas, 16, 16, "trAIn spEEd : 0k/h   scOrE : 0pts.");
  DrawOutlinedText(canvas, 312, 264, "mE");
  DrawOutlinedText(canvas, 480, 440, "z : jUmp    x : rEstArt");
  const std::vector<uint32_t> texts = Frame();

  // The lines: the frame, the post behind the figure (its two lines at
  // x = 302 and 238), the span line at y = 90 and six sleepers.
  std::vector<uint32_t> expected(640 * 480, kBlack);
  const auto light = [&](const PixelSet& pixels) {
    for (const auto& [x, y] : pixels) expected[static_cast<size_t>(y * 640 + x)] = kWhite;
  };
  for (int y : {60, 400, 280, 90}) light(Row(y, 80, 560));
  for (int x : {80, 560}) light(Column(x, 60, 400));
  for (int x : {302, 238}) light(Column(x, 60, 280));
  for (int x = 560; x > 80; x -= 80) light(Column(x, 280, 400));
  for (size_t i = 0; i < expected.size(); ++i) {
    if (texts[i] != kBackground) expected[i] = texts[i];
  }

  HeadlessGame headless(canvas, 1);
  BeginFrame(kBlack);  // as the frame loop clears
  StepGame(headless.game);
  graphics.device->EndScene();

  const std::vector<uint32_t> frame = Frame();
  int wrong = 0;
  for (size_t i = 0; i < frame.size(); ++i) {
    if (frame[i] == expected[i]) continue;
    if (++wrong <= 10) {
      ADD_FAILURE() << "pixel (" << i % 640 << ", " << i / 640 << ") is " << std::hex << frame[i]
                    << ", expected " << expected[i];
    }
  }
  EXPECT_EQ(wrong, 0);
  // The frame as drawn, for a look, in the test's working folder (the build's).
  if (wrong != 0) WritePng("first_frame.png", frame.data(), 640, 480);
}

}  // namespace
}  // namespace vtrak::testing
