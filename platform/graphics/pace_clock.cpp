#include "platform/graphics/pace_clock.h"

#include <SDL2/SDL.h>

#include <chrono>
#include <thread>

namespace vtrak {
namespace {

class SystemPaceClock final : public PaceClock {
 public:
  uint64_t TicksPerSecond() const override { return frequency_; }
  uint64_t Now() override { return SDL_GetPerformanceCounter(); }
  void Sleep(uint64_t ticks) override {
    if (ticks == 0) return;
    // Waits are shorter than a frame, far from overflowing the product.
    const auto nanoseconds = static_cast<int64_t>(ticks * 1000000000u / frequency_);
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
  }

 private:
  uint64_t frequency_ = SDL_GetPerformanceFrequency();
};

}  // namespace

std::unique_ptr<PaceClock> CreateSystemPaceClock() {
  return std::make_unique<SystemPaceClock>();
}

}  // namespace vtrak
