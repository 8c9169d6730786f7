// The frame loop on SDL's dummy display, with a presenter that keeps a log:
// each frame reads the input, steps and presents back to back, and the one
// sleep falls between a present and the next frame's input; at a chosen rate
// the steps follow the counter, not the presents.
#include "app/frame_loop.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/step_pace.h"
#include "game/game.h"
#include "platform/graphics/presenter.h"
#include "platform/window/window.h"
#include "render/canvas.h"
#include "render/graphics_device.h"
#include "tests/input/input_fixture.h"
#include "tests/support/scripted_pace_clock.h"

namespace vtrak {
namespace {

// Logs into the scripted devices' call record, so that the presents and the
// sleeps fall in order among the keyboard reads; quits after `frames`. Given a
// scripted counter, its presents return at the retraces of a `refreshHz` display.
class LoggingPresenter final : public Presenter {
 public:
  LoggingPresenter(std::vector<std::string>& log, Window& window, int frames, PaceScript* retraces,
                   int refreshHz)
      : log_(log),
        window_(window),
        framesLeft_(frames),
        retraces_(retraces),
        refreshHz_(refreshHz) {}
  void Present(const uint32_t*, int, int) override {
    if (retraces_ != nullptr) retraces_->now = ++presents_ * 1000000 / refreshHz_;
    log_.emplace_back("present");
    if (--framesLeft_ == 0) window_.PostQuitMessage(0);
  }
  void WaitForNextFrame() override { log_.emplace_back("wait"); }

 private:
  std::vector<std::string>& log_;
  Window& window_;
  int framesLeft_;
  PaceScript* retraces_;
  uint64_t refreshHz_;
  uint64_t presents_ = 0;
};

// Runs the game's frame loop on the dummy display for `frames` frames; keeps
// the scripted devices' record of keyboard reads, presents and waits in `order`.
void RunLoop(int frames, std::vector<std::string>& order, int& score, const StepRate& rate = {},
             PaceScript* retraces = nullptr) {
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
        std::make_unique<LoggingPresenter>(input.devices.calls, *window, frames, retraces,
                                           rate.refreshHz));
    Canvas canvas;
    ASSERT_EQ(SetupCanvas(canvas, graphics.device.get()), S_OK);
    Game game{&canvas, &input.state, nullptr, 0, 0, 0, 0, 0, 0, 0};
    SetRunStartValues(game);
    App app{&canvas, &input.state, nullptr, &game};
    RequestedFilePath path = {};

    input.devices.calls.clear();
    EXPECT_EQ(RunFrameLoop(*window, graphics, app, input.clock, path, rate), 0);
    for (const std::string& call : input.devices.calls) {
      if (call == "keyboard.GetDeviceState" || call == "present" || call == "wait") {
        order.push_back(call);
      }
    }
    score = game.score;

    ReleaseInput(input.state);
    ReleaseCanvas(canvas);
    ReleaseGraphicsDevice(graphics);
  }
  SDL_Quit();
}

TEST(FrameLoop, ReadsStepsAndPresentsBackToBackAndSleepsBeforeTheNextFrame) {
  std::vector<std::string> order;
  int score = 0;
  RunLoop(3, order, score);
  const std::vector<std::string> frame = {"keyboard.GetDeviceState", "present", "wait"};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), frame.begin(), frame.end());
  EXPECT_EQ(order, expected);
  EXPECT_EQ(score, 3);  // one step per presented frame
}

TEST(FrameLoop, AtAChosenRateNSecondsMakeNTimesTheRateInStepsWhateverTheRefresh) {
  constexpr int kSeconds = 30;
  for (const auto& [refreshHz, rateHz] : {std::pair{144, 60}, {60, 60}, {50, 60}, {60, 45}}) {
    PaceScript script;
    ScriptedPaceClock counter(script);
    std::vector<std::string> order;
    int score = 0;
    RunLoop(kSeconds * refreshHz + 1, order, score, StepRate{rateHz, refreshHz, &counter}, &script);
    // Every refresh presents; the steps, each with its own input read, keep
    // to the rate from the first frame's on, without drifting.
    EXPECT_EQ(std::count(order.begin(), order.end(), "present"), kSeconds * refreshHz + 1);
    EXPECT_EQ(std::count(order.begin(), order.end(), "keyboard.GetDeviceState"),
              kSeconds * rateHz + 1)
        << refreshHz << " Hz at " << rateHz << " steps a second";
  }
}

TEST(FrameLoop, AStalledFrameMakesUpFourRefreshesAndCountsTheRestAsForgiven) {
  StepPace pace(1000, 60);  // a counter of 1000 ticks a second
  EXPECT_EQ(pace.StepsDue(0), 1);
  EXPECT_EQ(pace.StepsDue(1000), 4);  // a second's stall: 60 steps owed
  EXPECT_EQ(pace.TakeForgiven(), 56u);
  EXPECT_EQ(pace.StepsDue(1017), 1);  // and the schedule goes on from the start
  EXPECT_EQ(pace.TakeForgiven(), 0u);
  // A rate above the refresh is made whole: 1000 steps a second on 60 Hz.
  StepPace fast(60000, 1000, 60);
  int steps = 0;
  for (int frame = 0; frame <= 60; ++frame) steps += fast.StepsDue(frame * 1000);
  EXPECT_EQ(std::pair(steps, fast.TakeForgiven()), std::pair(1001, uint64_t{0}));
}

TEST(FrameLoop, APaceNoteOnlyWhenTheRefreshIsFarFromSixtyHertzAndNoRateIsChosen) {
  for (const int quiet : {0, 57, 60, 63}) EXPECT_FALSE(PaceNote(quiet, 0)) << quiet;
  EXPECT_FALSE(PaceNote(144, 60));
  EXPECT_TRUE(PaceNote(56, 0));
  const std::optional<std::string> note = PaceNote(144, 0);
  ASSERT_TRUE(note);
  EXPECT_NE(note->find("2.40 times"), std::string::npos) << *note;
  EXPECT_NE(note->find("--rate 60"), std::string::npos) << *note;
}

}  // namespace
}  // namespace vtrak
