#pragma once
// A message box with no owner and no caption, showing a UTF-8 text with an OK
// button; returns when the user has closed it. The program draws it itself
// (the Canvas's face through FreeType), so it reads the same on any X11 or
// Wayland desktop whatever fonts the display server has. Any text is shown
// (see LayOutMessageBox). False when no box could be shown: no visible
// display, no window, or no face at all; `whyNot`, when given, then says
// which, in a line's words.
#include <string>

namespace vtrak {

bool ShowMessageBox(const char* utf8Text, std::string* whyNot = nullptr);

}  // namespace vtrak
