// The frame loop on SDL's dummy display, with a presenter that keeps a log:
// each frame reads the input, steps and presents back to back, and the one
// sleep falls between a present and the next frame's input.
#include "app/frame_loop.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/graphics/presenter.h"
#include "platform/window/window.h"
#include "render/canvas.h"
#include "render/graphics_device.h"
#include "tests/input/input_fixture.h"

namespace vtrak {
namespace {

// Logs into the scripted devices' call record, so that the presents and the
// sleeps fall in order among the keyboard reads; quits after `frames`.
class LoggingPresenter final : public Presenter {
 public:
  LoggingPresenter(std::vector<std::string>& log, Window& window, int frames)
      : log_(log), window_(window), framesLeft_(frames) {}
  void Present(const uint32_t*, int, int) override {
    log_.emplace_back("present");
    if (--framesLeft_ == 0) window_.PostQuitMessage(0);
  }
  void WaitForNextFrame() override { log_.emplace_back("wait"); }

 private:
  std::vector<std::string>& log_;
  Window& window_;
  int framesLeft_;
};

TEST(FrameLoop, ReadsStepsAndPresentsBackToBackAndSleepsBeforeTheNextFrame) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  {
    std::unique_ptr<Window> window = Window::Create("dolk", "V-TRAK");
    ASSERT_NE(window, nullptr);
    window->Show();
    InputFixture input;
    ASSERT_EQ(input.Init(), S_OK);

    GraphicsDevice graphics;
    graphics.presentParameters.BackBufferWidth = 640;
    graphics.presentParameters.BackBufferHeight = 480;
    graphics.presentParameters.EnableAutoDepthStencil = 1;
    graphics.presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
    graphics.device = std::make_unique<Direct3DDevice9>(
        graphics.presentParameters,
        std::make_unique<LoggingPresenter>(input.devices.calls, *window, 3));
    Canvas canvas;
    ASSERT_EQ(SetupCanvas(canvas, graphics.device.get()), S_OK);
    Game game{&canvas, &input.state, nullptr, 0, 0, 0, 0, 0, 0, 0};
    SetRunStartValues(game);
    App app{&canvas, &input.state, nullptr, &game};
    RequestedFilePath path = {};

    input.devices.calls.clear();
    EXPECT_EQ(RunFrameLoop(*window, graphics, app, input.clock, path), 0);
    std::vector<std::string> order;
    for (const std::string& call : input.devices.calls) {
      if (call == "keyboard.GetDeviceState" || call == "present" || call == "wait") {
        order.push_back(call);
      }
    }
    const std::vector<std::string> frame = {"keyboard.GetDeviceState", "present", "wait"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), frame.begin(), frame.end());
    EXPECT_EQ(order, expected);
    EXPECT_EQ(game.score, 3);  // one step per presented frame

    ReleaseInput(input.state);
    ReleaseCanvas(canvas);
    ReleaseGraphicsDevice(graphics);
  }
  SDL_Quit();
}

}  // namespace
}  // namespace vtrak
