#pragma once
// The millisecond clock: timeGetTime, milliseconds since boot as an unsigned
// 32-bit value that wraps about every 49.7 days.
#include <cstdint>

namespace vtrak {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t timeGetTime() = 0;
};

// CLOCK_MONOTONIC in milliseconds, cut to 32 bits.
class SystemClock final : public Clock {
 public:
  uint32_t timeGetTime() override;
};

}  // namespace vtrak
