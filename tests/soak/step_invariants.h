#pragma once
// What must hold after every step of a run, checked from the Game's fields
// alone: the ranges of speed, scroll phase and span, the score's count, and
// (for a player that never misses) that the run never ends.
#include <cstdint>
#include <string>

namespace vtrak::soak {

// The Game's fields after one step, as `vtrak-tool sim --trace` writes them.
struct StepRow {
  int64_t step;
  int32_t speed;
  int32_t score;
  int32_t spanPosition;
  int32_t halfSpan;
  int32_t scrollPhase;
  int32_t dead;
  int32_t jumpTimer;
};

struct RunCounts {
  int64_t steps = 0;
  int64_t postsPassed = 0;
  int64_t deaths = 0;
  int64_t restarts = 0;
  int32_t highestScore = 0;
};

class StepInvariants {
 public:
  // With `deathAllowed` false any death is a fault.
  explicit StepInvariants(bool deathAllowed) : deathAllowed_(deathAllowed) {}

  // Empty when the row keeps every invariant, else what it breaks.
  std::string Check(const StepRow& row);

  const RunCounts& counts() const { return counts_; }

 private:
  bool deathAllowed_;
  bool started_ = false;
  bool passedFirstPost_ = false;
  StepRow previous_{};
  RunCounts counts_;
};

// Parses one trace line "step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer".
bool ParseStepRow(const char* line, StepRow& row);

}  // namespace vtrak::soak
