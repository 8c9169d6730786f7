#pragma once
#include "app/app_record.h"
#include "app/requested_file_path.h"

namespace vtrak {

class Clock;
class RunKeeping;
struct GraphicsDevice;

// One frame, in one direction: polls the input, clears the back buffer to
// opaque black and the depth buffer to 1.0, steps the Game inside the scene
// and presents. `keeping`, when there is one, sees the step before and after.
void RunFrame(GraphicsDevice& graphics, App& app, Clock& clock, RequestedFilePath& path,
              RunKeeping* keeping = nullptr);
// The same in two halves: the step, drawn into the back buffer, and the
// present, which shows the latest step again when none came since.
void StepFrame(GraphicsDevice& graphics, App& app, Clock& clock, RequestedFilePath& path,
               RunKeeping* keeping = nullptr);
void PresentFrame(GraphicsDevice& graphics);

}  // namespace vtrak
