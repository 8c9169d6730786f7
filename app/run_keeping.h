#pragma once
// What the game keeps of its runs, each only when asked for: with --record
// FILE every run is appended to FILE as it ends; with --replay FILE one of its
// runs plays first, on keys of its own, the player's keys ignored until it
// ends; with VTRAK_TRACE=FILE every step of every run is written to FILE as
// `vtrak-tool sim --trace` writes it, numbered from the run's first step.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/launch_options.h"
#include "game/game.h"
#include "game/run_file.h"
#include "game/run_record.h"
#include "game/run_recorder.h"
#include "input/input_state.h"
#include "platform/core/clock.h"
#include "platform/input/scripted_input.h"

namespace vtrak {

class RunKeeping {
 public:
  // None when nothing was asked for. False, with a line in `why`, when a
  // file cannot be had: one to record into that holds anything but runs, or
  // a run to replay that is not there.
  static bool Create(const RunFiles& files, const char* traceFile,
                     std::unique_ptr<RunKeeping>& keeping, std::string& why);
  // One that keeps, replays and traces nothing: it only notes each run as it
  // ends (EndedRun), for the page, which keeps its best run itself.
  static std::unique_ptr<RunKeeping> Noting();
  ~RunKeeping();

  // Once the Game exists and before its first step: a replay takes the
  // generator and the game's keys over.
  void Start(Game& game);
  // Between each step's poll and the step.
  void BeforeStep(Game& game);
  // After each step.
  void AfterStep(Game& game);
  // When play stops: the run in play is kept, not ended.
  void Stop(const Game& game);
  // The run that the last step ended with a miss; none after any other step.
  const std::optional<RunRecord>& EndedRun() const { return ended_; }
  // The replayed run while its keys play the game; null before and after.
  const RunRecord* Replaying(const Game& game) const;
  RunKeeping(const RunKeeping&) = delete;
  RunKeeping& operator=(const RunKeeping&) = delete;

 private:
  RunKeeping() = default;
  void Keep(const RunRecord& run);

  RunAppender record_;
  std::FILE* trace_ = nullptr;
  bool recording_ = false;
  RunRecorder recorder_;
  std::optional<RunRecord> ended_;
  // The replay: its run, its keyboard and its InputState while it lasts.
  std::optional<RunRecord> replay_;
  std::unique_ptr<RunKeys> replayKeys_;
  SystemClock replayClock_;
  ScriptedDevices replayDevices_;
  std::unique_ptr<InputState> replayInput_;
  const InputState* playerInput_ = nullptr;
  int64_t replayStep_ = 0;
};

}  // namespace vtrak
