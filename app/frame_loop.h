#pragma once
#include <cstdint>

#include "app/app_record.h"
#include "app/requested_file_path.h"
#include "app/window_procedure.h"

namespace vtrak {

class Clock;
class PaceClock;
class RunKeeping;
class Window;
struct GraphicsDevice;

// How the loop paces the game's steps.
struct StepRate {
  int rateHz = 0;              // 0: one step per presented frame; else this many a second
  int refreshHz = 0;           // the display's (0: unknown), for counting missed refreshes
  PaceClock* clock = nullptr;  // the counter steps follow; null: the system's
};

// Drains every pending message before each frame; while the window is neither
// hidden nor minimised, polls the input, clears, steps the Game inside the
// scene, presents, and then sleeps as the device's pacing asks. At a chosen
// rate a frame makes the steps that fell due since the last (none, one or a
// few), each with its own input read, and presents the latest. `keeping`, when
// there is one, sees every step; `settings` remembers the full-screen toggle.
// Returns the Quit message's code.
int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path, const StepRate& rate = {},
                     RunKeeping* keeping = nullptr, const SettingsFileState& settings = {});

}  // namespace vtrak
