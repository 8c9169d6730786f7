// One frame's CPU cost: clear, the Game's step drawn through the Canvas into
// the software device, and the hand-off of the back buffer to an SDL
// presenter; beside the memory floor, a plain clear of the same two buffers
// and one copy of the back buffer.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/game.h"
#include "platform/graphics/sdl_presenter.h"
#include "render/canvas.h"
#include "render/graphics_device.h"
#include "tools/headless/headless_game.h"

namespace vtrak {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A device presenting through SDL's software renderer into a surface, so the
// hand-off is SDL's texture upload and copy without a display.
class BenchFrame {
 public:
  BenchFrame()
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888)) {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kWidth;
    parameters.BackBufferHeight = kHeight;
    parameters.EnableAutoDepthStencil = 1;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    std::unique_ptr<SdlPresenter> presenter =
        SdlPresenter::Create(SDL_CreateSoftwareRenderer(surface_), kWidth, kHeight, false, 0);
    presenter_ = presenter.get();
    device_ = std::make_unique<Direct3DDevice9>(parameters, std::move(presenter));
    SetupCanvas(canvas_, device_.get());
    CreateCanvasFont(canvas_);
  }
  ~BenchFrame() {
    ReleaseCanvas(canvas_);
    canvas_.sparePairBuffer.reset();
    canvas_.spareQuadBuffer.reset();
    device_.reset();
    SDL_FreeSurface(surface_);
  }

  bool ready() const { return presenter_ != nullptr && canvas_.fonts[0] != nullptr; }

  void Draw() {
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device_->BeginScene();
    StepGame(game_);
    device_->EndScene();
    // Keep the run alive and varied: a fresh run now and then.
    if (game_.score >= 2000 || game_.dead != 0) SetRunStartValues(game_);
  }
  void Present() { device_->Present(nullptr, nullptr, nullptr, nullptr); }
  void Upload() { presenter_->Upload(device_->backBuffer(), kWidth); }
  const uint32_t* screen() const { return static_cast<const uint32_t*>(surface_->pixels); }

 private:
  SDL_Surface* surface_;
  SdlPresenter* presenter_ = nullptr;
  std::unique_ptr<Direct3DDevice9> device_;
  Canvas canvas_;
  HeadlessGame headless_{canvas_, 1};
  Game& game_ = headless_.game;
};

void BM_MemoryFloor(benchmark::State& state) {
  std::vector<uint32_t> back(kWidth * kHeight);
  std::vector<uint16_t> depth(kWidth * kHeight);
  std::vector<uint32_t> screen(kWidth * kHeight);
  // memset writes the same bytes as a clear to any colour as fast as the
  // memory allows; memcpy hands the frame on.
  for (auto _ : state) {
    std::memset(back.data(), 0, back.size() * sizeof(uint32_t));
    std::memset(depth.data(), 0xFF, depth.size() * sizeof(uint16_t));
    std::memcpy(screen.data(), back.data(), back.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
}

// Runs `body` on one BenchFrame per iteration.
template <typename Body>
void RunFrames(benchmark::State& state, Body body) {
  BenchFrame frame;
  if (!frame.ready()) {
    state.SkipWithError("no presenter or no font");
    return;
  }
  for (auto _ : state) {
    body(frame);
    benchmark::ClobberMemory();
  }
}

// Clear, step, and the hand-off: the upload into the presenter's texture.
void BM_FrameWithUpload(benchmark::State& state) {
  RunFrames(state, [](BenchFrame& frame) {
    frame.Draw();
    frame.Upload();
  });
}

// The same with the whole Present: SDL's software renderer also copies the
// texture to its target, which on a display is the GPU's work.
void BM_FrameWithPresent(benchmark::State& state) {
  RunFrames(state, [](BenchFrame& frame) {
    frame.Draw();
    frame.Present();
    benchmark::DoNotOptimize(frame.screen());
  });
}

// Clear and step only.
void BM_DrawOnly(benchmark::State& state) {
  RunFrames(state, [](BenchFrame& frame) { frame.Draw(); });
}

#define VTRAK_FRAME_BENCH(name) \
  BENCHMARK(name)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true)

VTRAK_FRAME_BENCH(BM_MemoryFloor);
VTRAK_FRAME_BENCH(BM_FrameWithUpload);
VTRAK_FRAME_BENCH(BM_FrameWithPresent);
VTRAK_FRAME_BENCH(BM_DrawOnly);

}  // namespace
}  // namespace vtrak

BENCHMARK_MAIN();
