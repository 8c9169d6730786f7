#include "tests/soak/step_invariants.h"

#include <cinttypes>
#include <cstdio>

namespace vtrak::soak {
namespace {

std::string Describe(const StepRow& row, const char* what) {
  char text[256];
  std::snprintf(text, sizeof text,
                "step %" PRId64
                ": %s (speed %d, score %d, spanPosition %d, halfSpan %d, "
                "scrollPhase %d, dead %d, jumpTimer %d)",
                row.step, what, row.speed, row.score, row.spanPosition, row.halfSpan,
                row.scrollPhase, row.dead, row.jumpTimer);
  return text;
}

}  // namespace

std::string StepInvariants::Check(const StepRow& row) {
  const int64_t expectedStep = started_ ? previous_.step + 1 : 1;
  if (row.step != expectedStep) return Describe(row, "a step is missing or repeated");
  if (row.speed < 0 || row.speed > 160) return Describe(row, "speed outside 0..160");
  if (row.scrollPhase < 0 || row.scrollPhase > 160) {
    return Describe(row, "scrollPhase outside 0..160");
  }
  if (row.jumpTimer < 0 || row.jumpTimer > 29) return Describe(row, "jumpTimer outside 0..29");
  if (row.dead != 0 && row.dead != 1) return Describe(row, "dead is neither 0 nor 1");
  if (row.dead == 1 && !deathAllowed_) return Describe(row, "the run ended");

  // A restart puts the run back to its start; a fall in spanPosition
  // otherwise means a post was passed.
  const bool restarted = started_ && previous_.dead == 1 && row.dead == 0;
  if (restarted) {
    ++counts_.restarts;
    passedFirstPost_ = false;
    if (row.score != 0) return Describe(row, "a restart did not zero the score");
  } else if (started_ && row.spanPosition < previous_.spanPosition) {
    passedFirstPost_ = true;
    ++counts_.postsPassed;
  }
  if (!passedFirstPost_ && row.halfSpan != 3000) {
    return Describe(row, "halfSpan changed before the first post");
  }
  if (row.halfSpan < 2500 || row.halfSpan > 3499)
    return Describe(row, "halfSpan outside 2500..3499");
  if (row.spanPosition <= -row.halfSpan || row.spanPosition > row.halfSpan) {
    return Describe(row, "spanPosition outside -halfSpan..halfSpan");
  }

  // The score counts every step of a live run and stands still after death.
  const int32_t before = started_ ? previous_.score : 0;
  const bool aliveBefore = !started_ || previous_.dead == 0;
  if (!restarted && aliveBefore && row.score != before + 1) {
    return Describe(row, "a live step did not add one to the score");
  }
  if (!restarted && !aliveBefore && row.score != before) {
    return Describe(row, "the score moved after death");
  }
  if (aliveBefore && row.dead == 1) ++counts_.deaths;

  if (row.score > counts_.highestScore) counts_.highestScore = row.score;
  ++counts_.steps;
  previous_ = row;
  started_ = true;
  return {};
}

bool ParseStepRow(const char* line, StepRow& row) {
  int consumed = 0;
  const int fields = std::sscanf(line, "%" SCNd64 ",%d,%d,%d,%d,%d,%d,%d%n", &row.step, &row.speed,
                                 &row.score, &row.spanPosition, &row.halfSpan, &row.scrollPhase,
                                 &row.dead, &row.jumpTimer, &consumed);
  return fields == 8 && (line[consumed] == '\0' || line[consumed] == '\n');
}

}  // namespace vtrak::soak
