#pragma once
#include <cstdint>

#include "app/app_record.h"
#include "app/requested_file_path.h"

namespace vtrak {

class Clock;
class Window;
struct GraphicsDevice;

// Drains every pending message before each frame; while the window is neither
// hidden nor minimised, polls the input, clears, steps the Game inside the
// scene, presents, and then sleeps as the device's pacing asks. Returns the
// Quit message's code.
int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path);

}  // namespace vtrak
