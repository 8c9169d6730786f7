#pragma once
// Telling an X11 window manager that a window is a dialog, so that it frames
// it as one: no maximise box, no "Unnamed Window" caption for an empty title.
#include <SDL2/SDL.h>

namespace vtrak {

// Marks a window that is not mapped yet; does nothing on other video drivers.
void MarkAsX11Dialog(SDL_Window* window);

}  // namespace vtrak
