#include "app/frame_loop.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/frame.h"
#include "app/pace_tally.h"
#include "app/step_pace.h"
#include "app/window_procedure.h"
#include "platform/graphics/pace_clock.h"
#include "render/graphics_device.h"

namespace vtrak {

int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path, const StepRate& rate, RunKeeping* keeping,
                     const SettingsFileState& settings) {
  std::unique_ptr<PaceClock> systemCounter;
  PaceClock* counter = rate.clock;
  if (counter == nullptr) {
    systemCounter = CreateSystemPaceClock();
    counter = systemCounter.get();
  }
  StepPace pace(counter->TicksPerSecond(), rate.rateHz, rate.refreshHz);
  PaceTally tally(counter->TicksPerSecond(), rate.refreshHz, rate.rateHz);
  const char* paceStats = std::getenv("VTRAK_PACE_STATS");
  const double reportEvery = paceStats != nullptr ? std::atof(paceStats) : 0;
  Message message;
  for (;;) {
    if (window.PeekMessage(message)) {
      if (message.kind == MessageKind::Quit) {
        if (paceStats != nullptr) std::fputs(tally.Line().c_str(), stderr);
        return message.wParam;
      }
      WindowProcedure(window, message, path, settings);
      continue;
    }
    const int showState = window.ShowState();
    if (showState == SW_HIDE || showState == SW_SHOWMINIMIZED) {
      pace.Restart();
      tally.Paused();
      // Nothing to draw: wait for the next event rather than spin.
      window.WaitForEvent();
      continue;
    }
    const int steps = pace.StepsDue(counter->Now());
    for (int i = 0; i < steps; ++i) StepFrame(graphics, app, clock, path, keeping);
    PresentFrame(graphics);
    tally.SetRefreshHz(graphics.device->PresentRefreshHz());
    tally.Presented(counter->Now(), steps, pace.TakeForgiven());
    if (reportEvery > 0 && tally.seconds() >= reportEvery) {
      std::fputs(tally.Line().c_str(), stderr);
      tally.Restart();
    }
    // The frame's one sleep comes here, before the next frame's messages and
    // input are read: a key that arrives meanwhile is in the very next frame,
    // whose input read, step and present then follow without a pause.
    graphics.device->WaitForNextFrame();
  }
}

}  // namespace vtrak
