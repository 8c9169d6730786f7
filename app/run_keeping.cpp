#include "app/run_keeping.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "game/run_file.h"
#include "game/trace_row.h"
#include "input/scripted_input_services.h"
#include "platform/core/crt_rand.h"
#include "platform/core/printable.h"
#include "platform/input/input_devices.h"

namespace vtrak {
namespace {

// No path reaches the replay's own InputState.
constexpr char kNoRequestedFile[260] = "";

}  // namespace

bool RunKeeping::Create(const RunFiles& files, const char* traceFile,
                        std::unique_ptr<RunKeeping>& keeping, std::string& why) {
  keeping.reset();
  if (files.record.empty() && files.replay.empty() && traceFile == nullptr) return true;
  if (!files.record.empty() && !files.replay.empty()) {
    why = "--record and --replay do not go together: the replayed run is kept already";
    return false;
  }
  std::unique_ptr<RunKeeping> made(new RunKeeping());
  if (!files.replay.empty()) {
    RunRecord run;
    if (!PickRun(files.replay, files.run, run, why)) return false;
    made->replay_ = run;
    made->replayKeys_ = std::make_unique<RunKeys>(*made->replay_);
  }
  if (!files.record.empty()) {
    if (!made->record_.Open(files.record, why)) return false;
    made->recording_ = true;
  }
  if (traceFile != nullptr) {
    made->trace_ = std::fopen(traceFile, "w");
    if (made->trace_ == nullptr) {
      why = "VTRAK_TRACE: " + Printable(traceFile) + ": " + std::strerror(errno);
      return false;
    }
    std::fputs(kTraceHeader, made->trace_);
  }
  keeping = std::move(made);
  return true;
}

std::unique_ptr<RunKeeping> RunKeeping::Noting() {
  return std::unique_ptr<RunKeeping>(new RunKeeping());
}

RunKeeping::~RunKeeping() {
  if (trace_ != nullptr && std::fclose(trace_) != 0) {
    std::fprintf(stderr, "vtrak: VTRAK_TRACE: the trace could not be written: %s\n",
                 std::strerror(errno));
  }
}

void RunKeeping::Start(Game& game) {
  if (!replay_) return;
  replayDevices_.recordCalls = false;  // a run is long; nothing reads the calls
  replayInput_ = std::make_unique<InputState>(replayClock_);
  InputServices services = ScriptedInputServices(replayClock_, replayDevices_);
  InitInput(*replayInput_, kNoRequestedFile, nullptr, services);
  // Its set-up seeded the generator from the clock: the run's state goes over it.
  crt::srand(replay_->randState);
  bool zDown = false, xDown = false;
  replayKeys_->At(0, zDown, xDown);
  replayDevices_.keys[DIK_Z] = zDown ? 0x80 : 0;
  replayDevices_.keys[DIK_X] = xDown ? 0x80 : 0;
  PollInput(*replayInput_, kNoRequestedFile, replayClock_);
  game.jumpTimer = replay_->jumpTimer;
  playerInput_ = game.input;
  game.input = replayInput_.get();
}

void RunKeeping::BeforeStep(Game& game) {
  if (replayInput_ && game.input == replayInput_.get()) {
    bool zDown = false, xDown = false;
    replayKeys_->At(++replayStep_, zDown, xDown);
    replayDevices_.keys[DIK_Z] = zDown ? 0x80 : 0;
    replayDevices_.keys[DIK_X] = xDown ? 0x80 : 0;
    PollInput(*replayInput_, kNoRequestedFile, replayClock_);
  }
  recorder_.BeforeStep(game, crt::randState());
}

void RunKeeping::AfterStep(Game& game) {
  ended_ = recorder_.AfterStep(game);
  if (ended_ && recording_) Keep(*ended_);
  if (trace_ != nullptr && recorder_.stepInRun() > 0) {
    // Each row as it comes: whoever reads the trace may read it while the game plays.
    std::fputs(TraceRow(recorder_.stepInRun(), game).text, trace_);
    std::fflush(trace_);
  }
  // The replayed run is over: the player's keys from the next step on.
  if (replayInput_ && game.input == replayInput_.get() && replayStep_ >= replay_->lastStep) {
    game.input = playerInput_;
  }
}

const RunRecord* RunKeeping::Replaying(const Game& game) const {
  return replayInput_ && game.input == replayInput_.get() ? &*replay_ : nullptr;
}

void RunKeeping::Stop(const Game& /*game*/) {
  if (!recording_) return;
  if (const std::optional<RunRecord> inPlay = recorder_.RunInPlay()) Keep(*inPlay);
}

void RunKeeping::Keep(const RunRecord& run) {
  std::string why;
  if (!record_.Append(run, why)) std::fprintf(stderr, "vtrak: %s\n", why.c_str());
}

}  // namespace vtrak
