// The frame loop in the browser. A page may not wait, so each frame is one
// call from the browser's animation frame: one step per display refresh, as
// on a desktop, and none while the tab is hidden, as none while a window is
// minimised; the music goes on. The call drains the pending messages first,
// then runs the frame. The start-up's objects live on in the stack of the
// call that set the loop going, which the browser never returns to.
//
// The page's pace control (Module.vtrakRate, read each frame) plays 60 steps
// a second whatever the refresh, paced as the desktop's --rate: a frame makes
// the steps that fell due since the last and shows the latest. The refresh is
// the median of the first 120 gaps between frames shown (a stall or a hidden
// tab does not count); one more than 5 % away from 60 a second is handed to
// the page, which says once what that does to the pace.
//
// The page's test hook: index.html?seed=N&keys=LIST&steps=N hands the
// simulator's options to the loop, with their meanings there: the seed
// replaces the clock's, the keys are held at the polls of the steps named
// (pressed through the browser's own keyboard events, so they travel the
// player's way), and after step N the picture holds still.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/frame_loop.h"
#include "app/step_pace.h"
#include "app/window_procedure.h"
#include "game/game.h"
#include "platform/core/crt_rand.h"
#include "platform/graphics/pace_clock.h"
#include "tools/vtrak-tool/sim_options.h"

namespace vtrak {
namespace {

EM_JS(int, PageHookCount, (), { return (Module['vtrakHook'] || []).length; });
EM_JS(char*, PageHookArgument, (int i), { return stringToNewUTF8(Module['vtrakHook'][i]); });
// A key event from the browser's own keyboard, by physical key.
EM_JS(void, PagePressKey, (const char* code, int down), {
  window.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup', {code : UTF8ToString(code)}));
});
// What the page and its tests read: the steps made, whether the run is over
// (a tap then starts a new one), and when the first frame was shown.
EM_JS(void, PageStepped, (double steps, int dead), {
  Module['vtrakSteps'] = steps;
  Module['vtrakDead'] = dead != 0;
  if (steps == 1) Module['vtrakFirstFrame'] = performance.now();
});
// The steps a second the page's pace control asks for; 0: one per frame.
EM_JS(int, PageRate, (), { return Module['vtrakRate'] | 0; });
EM_JS(void, PageOffPace, (int refreshHz, double pace), {
  if (Module['vtrakOffPace']) Module['vtrakOffPace'](refreshHz, pace);
});

constexpr size_t kGapsForRefresh = 120;

struct Loop {
  Window& window;
  GraphicsDevice& graphics;
  App& app;
  Clock& clock;
  RequestedFilePath& path;
  std::optional<tool::SimOptions> hook;
  bool holdStill = false;  // the hook names the step after which the picture holds
  int64_t steps = 0;
  bool zDown = false;
  bool xDown = false;
  std::unique_ptr<PaceClock> counter = CreateSystemPaceClock();
  int rateHz = 0;
  StepPace pace{counter->TicksPerSecond(), 0};
  std::vector<uint64_t> gaps{};  // between frames shown, until the refresh is known
  uint64_t lastShown = 0;        // 0: no frame shown since the tab was last hidden
  bool paceNoted = false;
};

// The hook's options, or none when the page has none or they are not the
// simulator's (said on the console).
std::optional<tool::SimOptions> PageHook(bool& holdStill) {
  const int count = PageHookCount();
  if (count == 0) return std::nullopt;
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    char* argument = PageHookArgument(i);
    arguments.emplace_back(argument);
    free(argument);
    holdStill = holdStill || arguments.back() == "--steps";
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  std::string error;
  std::optional<tool::SimOptions> options =
      tool::ParseSimOptions(static_cast<int>(argv.size()), argv.data(), error);
  if (!options) std::fprintf(stderr, "vtrak: the page's test hook: %s\n", error.c_str());
  return options;
}

void PressAsScripted(Loop& loop, char key, const char* code, bool& down) {
  const bool wanted = tool::KeyDownAt(loop.hook->keys, key, loop.steps + 1);
  if (wanted != down) PagePressKey(code, wanted);
  down = wanted;
}

// Collects the gaps between frames shown; once there are enough, hands a
// refresh far from the usual pace to the page.
void NoteRefresh(Loop& loop) {
  const uint64_t now = loop.counter->Now();
  if (loop.lastShown != 0) loop.gaps.push_back(now - loop.lastShown);
  loop.lastShown = now;
  if (loop.gaps.size() < kGapsForRefresh) return;
  loop.paceNoted = true;
  auto middle = loop.gaps.begin() + static_cast<std::ptrdiff_t>(loop.gaps.size() / 2);
  std::nth_element(loop.gaps.begin(), middle, loop.gaps.end());
  const double hz = static_cast<double>(loop.counter->TicksPerSecond()) /
                    static_cast<double>(std::max<uint64_t>(1, *middle));
  const int wholeHz = static_cast<int>(hz + 0.5);
  if (const std::optional<double> pace = OffPace(wholeHz, loop.rateHz)) PageOffPace(wholeHz, *pace);
  loop.gaps = {};
}

void Frame(void* argument) {
  Loop& loop = *static_cast<Loop*>(argument);
  Message message;
  while (loop.window.PeekMessage(message)) {
    if (message.kind == MessageKind::Quit) {
      emscripten_cancel_main_loop();
      return;
    }
    WindowProcedure(loop.window, message, loop.path);
  }
  const int showState = loop.window.ShowState();
  if (showState == SW_HIDE || showState == SW_SHOWMINIMIZED) {
    loop.pace.Restart();
    loop.lastShown = 0;
    return;
  }
  if (const int rateHz = PageRate(); rateHz != loop.rateHz) {
    loop.rateHz = rateHz;
    loop.pace = StepPace(loop.counter->TicksPerSecond(), rateHz);
  }
  const int due = loop.pace.StepsDue(loop.counter->Now());
  int made = 0;
  for (; made < due; ++made) {
    if (loop.hook) {
      if (loop.holdStill && loop.steps >= loop.hook->steps) break;
      PressAsScripted(loop, 'z', "KeyZ", loop.zDown);
      PressAsScripted(loop, 'x', "KeyX", loop.xDown);
    }
    StepFrame(loop.graphics, loop.app, loop.clock, loop.path);
    PageStepped(static_cast<double>(++loop.steps), loop.app.game->dead);
  }
  // A frame that falls between two steps leaves the latest on the canvas.
  if (made > 0) PresentFrame(loop.graphics);
  if (!loop.paceNoted) NoteRefresh(loop);
}

}  // namespace

// The browser's animation frame paces the page: one step per refresh, or the
// rate the page's control asks for; the shell's rate has no source here.
int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path, const StepRate&, RunKeeping*,
                     const SettingsFileState&) {
  // Lives as long as the page: the browser calls Frame with it until the tab closes.
  Loop* loop = new Loop{window, graphics, app, clock, path, std::nullopt};
  loop->hook = PageHook(loop->holdStill);
  if (loop->hook && loop->hook->seed) crt::srand(*loop->hook->seed);
  emscripten_set_main_loop_arg(Frame, loop, 0, 1);
  return 0;  // never reached: the browser runs the loop
}

}  // namespace vtrak
