#pragma once
// A message box with no owner and no caption, showing a UTF-8 text with an OK
// button; returns when the user has closed it. The program draws it itself
// (the Canvas's face through FreeType), so it reads the same on any X11 or
// Wayland desktop whatever fonts the display server has. False when no box
// could be shown: no visible display, no window, or no face for the text.
namespace vtrak {

bool ShowMessageBox(const char* utf8Text);

}  // namespace vtrak
