#include "game/run_recorder.h"

#include "input/input_state.h"
#include "platform/input/input_devices.h"

namespace vtrak {

void RunRecorder::BeforeStep(const Game& game, uint32_t randState) {
  const bool zDown = (game.input->keyState[DIK_Z] & 0x80) != 0;
  const bool xDown = (game.input->keyState[DIK_X] & 0x80) != 0;
  // A run begins in the first step it is alive in: the game's first, or the
  // one after X restarted, whose poll is the run's step 0. That restart drew
  // no span, so the generator stands as the restart found it.
  if (game.dead == 0 && !inRun_) {
    inRun_ = true;
    step_ = 0;
    run_ = RunRecord{};
    run_.randState = randState;
    run_.jumpTimer = game.jumpTimer;
    if (zDown_) run_.changes.push_back(KeyChange{0, 'z', true});
    if (xDown_) run_.changes.push_back(KeyChange{0, 'x', true});
  }
  stepMade_ = 0;
  if (inRun_) {
    stepMade_ = ++step_;
    if (zDown != zDown_) run_.changes.push_back(KeyChange{step_, 'z', zDown});
    if (xDown != xDown_) run_.changes.push_back(KeyChange{step_, 'x', xDown});
  }
  zDown_ = zDown;
  xDown_ = xDown;
}

std::optional<RunRecord> RunRecorder::AfterStep(const Game& game) {
  if (!inRun_) return std::nullopt;
  run_.lastStep = step_;
  run_.score = game.score;
  if (game.dead == 0) return std::nullopt;
  inRun_ = false;
  run_.ended = true;
  return run_;
}

std::optional<RunRecord> RunRecorder::RunInPlay() const {
  if (!inRun_ || run_.lastStep == 0) return std::nullopt;
  return run_;
}

}  // namespace vtrak
