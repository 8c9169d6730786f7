#include "platform/graphics/sdl_presenter.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace vtrak {

bool RendererMaySync(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return false;
  if (std::strncmp(info.name, "opengl", 6) != 0) return false;
  return SDL_GL_GetSwapInterval() > 0;
}

std::unique_ptr<SdlPresenter> SdlPresenter::Create(SDL_Renderer* renderer, int width, int height,
                                                   bool paced, int refreshHz) {
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture == nullptr) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  // The back buffer's alpha is not a window transparency.
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
  Pacing pacing = Pacing::Immediate;
  if (paced) {
    pacing = RendererMaySync(renderer) ? Pacing::Checking : Pacing::Counter;
    // A renderer that cannot sync would otherwise sleep on its own as well.
    if (pacing == Pacing::Counter) SDL_RenderSetVSync(renderer, 0);
  }
  return std::unique_ptr<SdlPresenter>(new SdlPresenter(renderer, texture, pacing, refreshHz));
}

SdlPresenter::SdlPresenter(SDL_Renderer* renderer, SDL_Texture* texture, Pacing pacing,
                           int refreshHz)
    : renderer_(renderer),
      texture_(texture),
      pacing_(pacing),
      pacer_(SDL_GetPerformanceFrequency(), refreshHz),
      check_(pacer_.period()) {}

SdlPresenter::~SdlPresenter() {
  SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
}

void SdlPresenter::Upload(const uint32_t* argb, int width) {
  SDL_UpdateTexture(texture_, nullptr, argb, width * static_cast<int>(sizeof(uint32_t)));
}

void SdlPresenter::WaitForDue() {
  const uint64_t ticks = pacer_.TicksToWait(SDL_GetPerformanceCounter());
  if (ticks == 0) return;
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  const auto nanoseconds = static_cast<int64_t>(ticks * 1000000000ull / frequency);
  std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

void SdlPresenter::SwitchToCounter(uint64_t now) {
  SDL_RenderSetVSync(renderer_, 0);
  pacing_ = Pacing::Counter;
  pacer_.Presented(now);
}

void SdlPresenter::Present(const uint32_t* argb, int width, int) {
  Upload(argb, width);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  if (pacing_ == Pacing::Counter) WaitForDue();
  SDL_RenderPresent(renderer_);
  const uint64_t now = SDL_GetPerformanceCounter();
  if (pacing_ == Pacing::Counter) {
    pacer_.Presented(now);
  } else if (pacing_ == Pacing::Checking) {
    switch (check_.Presented(now)) {
      case VsyncCheck::Verdict::Real:
        pacing_ = Pacing::Vsync;
        break;
      case VsyncCheck::Verdict::Fake:
        SwitchToCounter(now);
        break;
      case VsyncCheck::Verdict::Pending:
        break;
    }
  }
}

}  // namespace vtrak
