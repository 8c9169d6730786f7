#include "app/frame_loop.h"

#include "app/window_procedure.h"
#include "game/game.h"
#include "input/input_state.h"
#include "render/canvas.h"
#include "render/graphics_device.h"

namespace vtrak {

int32_t RunFrameLoop(Window& window, GraphicsDevice& graphics, App& app, Clock& clock,
                     RequestedFilePath& path) {
  Message message;
  for (;;) {
    if (window.PeekMessage(message)) {
      if (message.kind == MessageKind::Quit) return message.wParam;
      WindowProcedure(window, message, path);
      continue;
    }
    const int showState = window.ShowState();
    if (showState == SW_HIDE || showState == SW_SHOWMINIMIZED) {
      // Nothing to draw: wait for the next event rather than spin.
      window.WaitForEvent();
      continue;
    }
    PollInput(*app.input, path, clock);
    app.canvas->device = graphics.device.get();
    Direct3DDevice9& device = *graphics.device;
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device.BeginScene();
    StepGame(*app.game);
    device.EndScene();
    device.Present(nullptr, nullptr, nullptr, nullptr);
    // The frame's one sleep comes here, before the next frame's messages and
    // input are read: a key that arrives meanwhile is in the very next frame,
    // whose input read, step and present then follow without a pause.
    device.WaitForNextFrame();
  }
}

}  // namespace vtrak
