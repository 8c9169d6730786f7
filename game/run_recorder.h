#pragma once
// Keeps each run of a game as it is played: told of every step, before and
// after it, it notes what a run record holds and hands over each run as it
// ends. It only reads the game, its keys and the generator's state.
#include <cstdint>
#include <optional>

#include "game/game.h"
#include "game/run_record.h"

namespace vtrak {

class RunRecorder {
 public:
  // After the step's poll, before the step; `randState` is the generator's now.
  void BeforeStep(const Game& game, uint32_t randState);
  // After the step: the run it ended with a miss, if it did.
  std::optional<RunRecord> AfterStep(const Game& game);
  // The run in play, not ended, when play stops; none between runs.
  std::optional<RunRecord> RunInPlay() const;
  // The step just made, counted in its run; 0 when it was no run's (dead, or
  // the restart's).
  int64_t stepInRun() const { return stepMade_; }

 private:
  bool inRun_ = false;
  RunRecord run_;
  int64_t step_ = 0;
  int64_t stepMade_ = 0;
  // The keys at the last poll: both up before the first, as the hold counters start.
  bool zDown_ = false;
  bool xDown_ = false;
};

}  // namespace vtrak
