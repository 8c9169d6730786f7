#include "app/window_procedure.h"

namespace vtrak {

void WindowProcedure(Window& window, const Message& message, RequestedFilePath& path) {
  switch (message.kind) {
    case MessageKind::Destroy:
      window.PostQuitMessage(0);
      break;
    case MessageKind::DropFiles:
      StoreDroppedFile(message.droppedFile, path);
      break;
    case MessageKind::Quit:
    case MessageKind::Other:
      break;
  }
}

}  // namespace vtrak
