#pragma once
// The performance counter the presenter paces frames by, and sleeping on it.
// Tests stand in a clock they move themselves.
#include <cstdint>
#include <memory>

namespace vtrak {

class PaceClock {
 public:
  virtual ~PaceClock() = default;
  virtual uint64_t TicksPerSecond() const = 0;
  virtual uint64_t Now() = 0;
  // Returns at once for 0 ticks.
  virtual void Sleep(uint64_t ticks) = 0;
};

// SDL's performance counter; sleeps through the system's timer.
std::unique_ptr<PaceClock> CreateSystemPaceClock();

}  // namespace vtrak
