#pragma once
// How large the game's window is made: the scale asked for, else the
// desktop's, and never larger than the screen it is on.
#include <cstdio>
#include <optional>
#include <string>

#include "platform/window/display_geometry.h"

namespace vtrak {

class Window;

// The client area for `scale` screen pixels per game pixel (asked for by
// `asker`: "--scale" or the settings file), else for the desktop's scale.
// Where that does not fit the screen, the largest whole scale that does, and
// one line on `errors` says so; so does a desktop scale that is no scale.
WindowSize ChooseClientArea(const Window& window, std::optional<int> scale,
                            const std::string& asker, std::FILE* errors);

}  // namespace vtrak
