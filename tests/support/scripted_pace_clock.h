#pragma once
// A counter in microseconds that moves when the test says or the code under
// test sleeps on it; the sleeps are kept in order.
#include <cstdint>
#include <vector>

#include "platform/graphics/pace_clock.h"

namespace vtrak {

struct PaceScript {
  uint64_t now = 0;
  std::vector<uint64_t> sleeps;
};

class ScriptedPaceClock final : public PaceClock {
 public:
  explicit ScriptedPaceClock(PaceScript& script) : script_(script) {}
  uint64_t TicksPerSecond() const override { return 1000000; }
  uint64_t Now() override { return script_.now; }
  void Sleep(uint64_t ticks) override {
    script_.sleeps.push_back(ticks);
    script_.now += ticks;
  }

 private:
  PaceScript& script_;
};

}  // namespace vtrak
