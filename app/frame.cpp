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
  Direct3DDevice9& device = *graphics.device;
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
  device.BeginScene();
  StepGame(*app.game);
  device.EndScene();
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
