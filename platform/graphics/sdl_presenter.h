#pragma once
// Presenting the back buffer in the window: an SDL renderer with a streaming
// texture the size of the back buffer, copied at whole screen pixels per game
// pixel (nearest, never blurred) to the place PlaceImage gives in the client
// area, black around it.
#include <SDL2/SDL.h>

#include <memory>

#include "platform/graphics/frame_pacer.h"
#include "platform/graphics/pace_clock.h"
#include "platform/graphics/presenter.h"
#include "platform/graphics/vsync_delay.h"

namespace vtrak {

class SdlPresenter final : public Presenter {
 public:
  // How presents are paced. Presents themselves never wait on the counter:
  // the wait comes between a present and the next frame's input.
  enum class Pacing {
    Immediate,  // no waiting: a rest of 1 ms between frames
    Checking,   // the renderer's vsync, until VsyncCheck has judged it; the same rest
    Vsync,      // the renderer's vsync, found real; frames start as late as VsyncDelay allows
    Counter,    // frames start one refresh period apart on the performance counter
  };

  // Takes ownership of `renderer`. With `paced` false presents never wait.
  // `refreshHz` is the display's rate (0: unknown). Null when the texture
  // cannot be made (the renderer is then destroyed).
  static std::unique_ptr<SdlPresenter> Create(
      SDL_Renderer* renderer, int width, int height, bool paced, int refreshHz,
      std::unique_ptr<PaceClock> clock = CreateSystemPaceClock());
  ~SdlPresenter() override;

  void Present(const uint32_t* argb, int width, int height) override;
  void WaitForNextFrame() override;
  double RefreshHz() const override;

  // Hands the frame to the renderer's texture without showing it.
  void Upload(const uint32_t* argb, int width);
  Pacing pacing() const { return pacing_; }

 private:
  SdlPresenter(SDL_Renderer* renderer, SDL_Texture* texture, Pacing pacing, int refreshHz,
               std::unique_ptr<PaceClock> clock);

  SDL_Renderer* renderer_;
  SDL_Texture* texture_;
  Pacing pacing_;
  std::unique_ptr<PaceClock> clock_;
  FramePacer pacer_;
  VsyncCheck check_;
  VsyncDelay vsyncDelay_;
};

// True when the renderer's vsync can be real: an OpenGL back end whose swap
// interval is above 0. SDL marks other renderers as synchronised while only
// sleeping a whole number of milliseconds (62.5 presents a second).
bool RendererMaySync(SDL_Renderer* renderer);

}  // namespace vtrak
