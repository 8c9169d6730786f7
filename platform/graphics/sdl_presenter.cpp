#include "platform/graphics/sdl_presenter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/window/display_geometry.h"

namespace vtrak {

bool RendererMaySync(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return false;
  if (std::strncmp(info.name, "opengl", 6) != 0) return false;
  return SDL_GL_GetSwapInterval() > 0;
}

std::unique_ptr<SdlPresenter> SdlPresenter::Create(SDL_Renderer* renderer, int width, int height,
                                                   bool paced, int refreshHz,
                                                   std::unique_ptr<PaceClock> clock) {
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture == nullptr) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  // The back buffer's alpha is not a window transparency.
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
  // Scaled up, each game pixel stays a solid square.
  SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
  Pacing pacing = Pacing::Immediate;
  if (paced) {
    pacing = RendererMaySync(renderer) ? Pacing::Checking : Pacing::Counter;
    // A renderer that cannot sync would otherwise sleep on its own as well.
    if (pacing == Pacing::Counter) SDL_RenderSetVSync(renderer, 0);
  }
  return std::unique_ptr<SdlPresenter>(
      new SdlPresenter(renderer, texture, pacing, refreshHz, std::move(clock)));
}

SdlPresenter::SdlPresenter(SDL_Renderer* renderer, SDL_Texture* texture, Pacing pacing,
                           int refreshHz, std::unique_ptr<PaceClock> clock)
    : renderer_(renderer),
      texture_(texture),
      pacing_(pacing),
      clock_(std::move(clock)),
      pacer_(clock_->TicksPerSecond(), refreshHz),
      check_(pacer_.period()),
      vsyncDelay_(pacer_.period()) {}

SdlPresenter::~SdlPresenter() {
  SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
}

void SdlPresenter::Upload(const uint32_t* argb, int width) {
  SDL_UpdateTexture(texture_, nullptr, argb, width * static_cast<int>(sizeof(uint32_t)));
}

void SdlPresenter::WaitForNextFrame() {
  switch (pacing_) {
    case Pacing::Counter:
      clock_->Sleep(pacer_.TicksToWait(clock_->Now()));
      pacer_.FrameStarted(clock_->Now());
      break;
    case Pacing::Vsync:
      clock_->Sleep(vsyncDelay_.TicksToWait(clock_->Now()));
      break;
    case Pacing::Immediate:
    case Pacing::Checking:
      clock_->Sleep(clock_->TicksPerSecond() / 1000);
      break;
  }
}

double SdlPresenter::RefreshHz() const {
  const auto perSecond = static_cast<double>(clock_->TicksPerSecond());
  switch (pacing_) {
    case Pacing::Vsync:
      return perSecond / static_cast<double>(vsyncDelay_.period());
    case Pacing::Counter:
      return perSecond / static_cast<double>(pacer_.period());
    case Pacing::Immediate:
    case Pacing::Checking:
      break;
  }
  return 0;
}

void SdlPresenter::Present(const uint32_t* argb, int width, int height) {
  Upload(argb, width);
  // Whole screen pixels per game pixel, centred on black where the output is
  // larger: a scaled window, a fractional desktop scale, the whole screen.
  int outputWidth = width, outputHeight = height;
  SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
  const ImagePlace place = PlaceImage(width, height, outputWidth, outputHeight);
  if (place.width != outputWidth || place.height != outputHeight) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }
  const SDL_Rect target{place.x, place.y, place.width, place.height};
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  const uint64_t submitted = clock_->Now();
  SDL_RenderPresent(renderer_);
  const uint64_t returned = clock_->Now();
  if (pacing_ == Pacing::Checking) {
    switch (check_.Presented(returned)) {
      case VsyncCheck::Verdict::Real:
        // Frames are placed by the refresh the presents keep where it is
        // faster than the one the display's mode names.
        vsyncDelay_ = VsyncDelay(std::min(pacer_.period(), check_.measuredPeriod()));
        pacing_ = Pacing::Vsync;
        break;
      case VsyncCheck::Verdict::Fake:
        // The renderer would otherwise go on sleeping on its own as well.
        SDL_RenderSetVSync(renderer_, 0);
        pacing_ = Pacing::Counter;
        break;
      case VsyncCheck::Verdict::Pending:
        break;
    }
  }
  if (pacing_ == Pacing::Vsync) vsyncDelay_.Presented(submitted, returned);
}

}  // namespace vtrak
