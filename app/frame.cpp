#include "app/frame.h"

#include "app/run_keeping.h"
#include "game/game.h"
#include "input/input_state.h"
#include "render/canvas.h"
#include "render/graphics_device.h"

namespace vtrak {

void StepFrame(GraphicsDevice& graphics, App& app, Clock& clock, RequestedFilePath& path,
               RunKeeping* keeping) {
  PollInput(*app.input, path, clock);
  if (keeping != nullptr) keeping->BeforeStep(*app.game);
  app.canvas->device = graphics.device.get();
  ClearAndBeginScene(*graphics.device);
  StepGame(*app.game);
  graphics.device->EndScene();
  if (keeping != nullptr) keeping->AfterStep(*app.game);
}

void PresentFrame(GraphicsDevice& graphics) {
  graphics.device->Present(nullptr, nullptr, nullptr, nullptr);
}

void RunFrame(GraphicsDevice& graphics, App& app, Clock& clock, RequestedFilePath& path,
              RunKeeping* keeping) {
  StepFrame(graphics, app, clock, path, keeping);
  PresentFrame(graphics);
}

}  // namespace vtrak
