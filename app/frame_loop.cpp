#include "app/frame_loop.h"

#include "app/frame.h"
#include "app/window_procedure.h"
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
    RunFrame(graphics, app, clock, path);
    // The frame's one sleep comes here, before the next frame's messages and
    // input are read: a key that arrives meanwhile is in the very next frame,
    // whose input read, step and present then follow without a pause.
    graphics.device->WaitForNextFrame();
  }
}

}  // namespace vtrak
