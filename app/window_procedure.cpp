#include "app/window_procedure.h"

#include <cstdio>
#include <utility>

#include "app/settings_file.h"
#include "platform/core/printable.h"

namespace vtrak {
namespace {

void RememberFullScreen(const SettingsFileState& settings, bool fullScreen) {
  std::string why = "no settings folder (neither XDG_CONFIG_HOME nor HOME is set)";
  if (!settings.readable) why = "the file could not be read at start";
  if (settings.path.empty() || !settings.readable ||
      !SaveSetting(settings.path, "fullscreen", fullScreen ? "true" : "false", why)) {
    if (std::exchange(settings.said, true)) return;
    std::fprintf(stderr, "vtrak: cannot remember full screen in %s: %s\n",
                 settings.path.empty() ? "the settings file" : Printable(settings.path).c_str(),
                 why.c_str());
  }
}

}  // namespace

void WindowProcedure(Window& window, const Message& message, RequestedFilePath& path,
                     const SettingsFileState& settings) {
  switch (message.kind) {
    case MessageKind::Destroy:
      window.PostQuitMessage(0);
      break;
    case MessageKind::DropFiles:
      StoreDroppedFile(message.droppedFile, path);
      break;
    case MessageKind::ToggleFullScreen:
      window.SetFullScreen(!window.IsFullScreen());
      RememberFullScreen(settings, window.IsFullScreen());
      break;
    case MessageKind::Quit:
    case MessageKind::Other:
      break;
  }
}

}  // namespace vtrak
