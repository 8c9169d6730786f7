#pragma once
#include "app/requested_file_path.h"
#include "platform/window/window.h"

namespace vtrak {

// The window's handling of its messages: a destroyed window posts Quit with
// code 0; the first file of a drop becomes the requested-file path.
void WindowProcedure(Window& window, const Message& message, RequestedFilePath& path);

}  // namespace vtrak
