#include "platform/graphics/window_presenter.h"

#include <SDL2/SDL.h>

#include "platform/graphics/sdl_presenter.h"
#include "platform/window/window.h"

namespace vtrak {

std::unique_ptr<Presenter> CreateWindowPresenter(Window& window, uint32_t rendererFlags, int width,
                                                 int height, bool paced) {
  if (paced) rendererFlags |= SDL_RENDERER_PRESENTVSYNC;
  SDL_Renderer* renderer = SDL_CreateRenderer(window.sdl(), -1, rendererFlags);
  if (renderer == nullptr) return nullptr;
  SDL_DisplayMode mode{};
  const int display = SDL_GetWindowDisplayIndex(window.sdl());
  const int refresh =
      display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
  return SdlPresenter::Create(renderer, width, height, paced, refresh);
}

}  // namespace vtrak
