#pragma once
// Where a device made for a window presents its frames.
#include <cstdint>
#include <memory>

#include "platform/graphics/presenter.h"

namespace vtrak {

class Window;

// The desktop: an SDL renderer of the given SDL_RendererFlags on the window,
// synchronised with the display when `paced`. The page: its canvas. Null when
// neither can be had.
std::unique_ptr<Presenter> CreateWindowPresenter(Window& window, uint32_t rendererFlags, int width,
                                                 int height, bool paced);

}  // namespace vtrak
