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
// Every run is noted as it ends and handed to the page, which keeps its best
// and offers links to replay it. A page opened on such a link starts the
// program as `--replay FILE` does; once the replayed run is over the picture
// holds still at its last step until the page lets it go (X or a tap): after
// a miss the game then goes on as after any miss, so the X restarts it.
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
#include "app/run_keeping.h"
#include "app/step_pace.h"
#include "app/window_procedure.h"
#include "game/game.h"
#include "platform/graphics/pace_clock.h"

namespace vtrak {
namespace {

// What the page and its tests read: the steps made, whether the run is over
// (a tap then starts a new one), and when the first frame was shown.
EM_JS(void, PageStepped, (double steps, int dead), {
  Module['vtrakSteps'] = steps;
  Module['vtrakDead'] = dead != 0;
  if (steps == 1) Module['vtrakFirstFrame'] = performance.now();
});
// The steps a second the page's pace control asks for; 0: one per frame.
EM_JS(int, PageRate, (), { return Module['vtrakRate'] | 0; });
// A run as it ends, as its record's text; `replayed`: the linked run's, not
// the player's.
EM_JS(void, PageRunEnded, (const char* text, int score, int replayed), {
  if (Module['vtrakRunEnded']) Module['vtrakRunEnded'](UTF8ToString(text), score, replayed != 0);
});
// The replayed run is over: the picture holds, 'miss' or 'still' as it ended,
// until the page clears the field.
EM_JS(void, PageHold, (int miss), { Module['vtrakHeld'] = miss ? 'miss' : 'still'; });
EM_JS(int, PageHolds, (), { return Module['vtrakHeld'] ? 1 : 0; });
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
  RunKeeping& keeping;
  bool held = false;  // the replayed run is over and the page holds its last picture
  int64_t steps = 0;
  std::unique_ptr<PaceClock> counter = CreateSystemPaceClock();
  int rateHz = 0;
  StepPace pace{counter->TicksPerSecond(), 0};
  std::vector<uint64_t> gaps{};  // between frames shown, until the refresh is known
  uint64_t lastShown = 0;        // 0: no frame shown since the tab was last hidden
  bool paceNoted = false;
};

// One step, and what it tells the page: a run ended, or the replay's end.
void Step(Loop& loop) {
  Game& game = *loop.app.game;
  const bool replaying = loop.keeping.Replaying(game) != nullptr;
  StepFrame(loop.graphics, loop.app, loop.clock, loop.path, &loop.keeping);
  PageStepped(static_cast<double>(++loop.steps), game.dead);
  if (const std::optional<RunRecord>& ended = loop.keeping.EndedRun()) {
    PageRunEnded(RunRecordText(*ended).c_str(), ended->score, replaying);
  }
  if (replaying && loop.keeping.Replaying(game) == nullptr) {
    loop.held = true;
    PageHold(game.dead);
  }
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
  if (loop.held && PageHolds() == 0) {
    loop.held = false;
    loop.pace.Restart();  // the steps of the hold are not made up for
  }
  const int due = loop.held ? 0 : loop.pace.StepsDue(loop.counter->Now());
  int made = 0;
  for (; made < due && !loop.held; ++made) Step(loop);
  // A frame that falls between two steps leaves the latest on the canvas.
  if (made > 0) PresentFrame(loop.graphics);
  if (!loop.paceNoted) NoteRefresh(loop);
}

}  // namespace

// The browser's animation frame paces the page: one step per refresh, or the
// rate the page's control asks for; the shell's rate has no source here.
// Without runs asked for, the page's own keeping notes them.
int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path, const StepRate&, RunKeeping* keeping,
                     const SettingsFileState&) {
  // These live as long as the page: the browser calls Frame with them until the tab closes.
  RunKeeping* kept = keeping != nullptr ? keeping : RunKeeping::Noting().release();
  Loop* loop = new Loop{window, graphics, app, clock, path, *kept};
  emscripten_set_main_loop_arg(Frame, loop, 0, 1);
  return 0;  // never reached: the browser runs the loop
}

}  // namespace vtrak
