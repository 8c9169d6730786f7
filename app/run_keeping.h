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
  RunKeeping(const RunKeeping&) = delete;
  RunKeeping& operator=(const RunKeeping&) = delete;

 private:
  RunKeeping() = default;
  void Keep(const RunRecord& run);

  RunAppender record_;
  std::FILE* trace_ = nullptr;
  bool recording_ = false;
  RunRecorder recorder_;
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
