#pragma once
// A millisecond clock the caller sets: for tests and the headless tool.
#include <cstdint>

#include "platform/core/clock.h"

namespace vtrak {

class ScriptedClock final : public Clock {
 public:
  explicit ScriptedClock(uint32_t start = 0) : now(start) {}
  // Each read returns `now`, then moves it on by `advancePerRead` (wrapping).
  uint32_t timeGetTime() override {
    const uint32_t read = now;
    now += advancePerRead;
    return read;
  }

  uint32_t now;
  uint32_t advancePerRead = 0;
};

}  // namespace vtrak
