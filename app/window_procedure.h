#pragma once
#include <string>

#include "app/requested_file_path.h"
#include "platform/window/window.h"

namespace vtrak {

// Where the window's full-screen state is remembered: the settings file
// (empty: there is no settings folder), and whether it could be read at start.
struct SettingsFileState {
  std::string path;
  bool readable = false;
  mutable bool said = false;  // why a toggle is not remembered is said once
};

// The window's handling of its messages: a destroyed window posts Quit with
// code 0; the first file of a drop becomes the requested-file path; the
// full-screen toggle switches the window and rewrites the settings file's
// `fullscreen` line, or says on stderr, once, why it cannot (each toggle
// tries again).
void WindowProcedure(Window& window, const Message& message, RequestedFilePath& path,
                     const SettingsFileState& settings = {});

}  // namespace vtrak
