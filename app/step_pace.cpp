#include "app/step_pace.h"

#include <algorithm>
#include <cstdio>

namespace vtrak {

namespace {

constexpr int kUsualRate = 60;

// Step k falls due k / rate seconds after the start, and a frame takes every
// step due up to half a step after its own start: frames that come at the
// rate's own period then take one step each however their times jitter,
// rather than none and two in turn.
// The count includes the step of the first frame.
uint64_t StepsDueAfter(uint64_t elapsed, uint64_t rate, uint64_t ticksPerSecond) {
  const uint64_t shifted = elapsed + ticksPerSecond / (2 * rate);
  // Whole seconds apart from the rest: the product never overflows.
  return 1 + shifted / ticksPerSecond * rate + shifted % ticksPerSecond * rate / ticksPerSecond;
}

}  // namespace

StepPace::StepPace(uint64_t ticksPerSecond, int rateHz, int refreshHz)
    : ticksPerSecond_(std::max<uint64_t>(1, ticksPerSecond)),
      rate_(rateHz > 0 ? static_cast<uint64_t>(rateHz) : 0) {
  const uint64_t refresh = refreshHz > 0 ? static_cast<uint64_t>(refreshHz) : kUsualRate;
  // The steps of one refresh at the rate, rounded up: at least one.
  mostSteps_ = kMostRefreshesPerFrame * std::max<uint64_t>(1, (rate_ + refresh - 1) / refresh);
}

int StepPace::StepsDue(uint64_t now) {
  if (rate_ == 0) return 1;
  if (!started_) {
    started_ = true;
    start_ = now;
    made_ = 0;
  }
  const uint64_t due = StepsDueAfter(now - start_, rate_, ticksPerSecond_);
  const uint64_t owed = due > made_ ? due - made_ : 0;
  made_ = std::max(made_, due);
  const uint64_t steps = std::min(owed, mostSteps_);
  forgiven_ += owed - steps;
  return static_cast<int>(steps);
}

std::optional<double> OffPace(int refreshHz, int rateHz) {
  if (rateHz > 0 || refreshHz <= 0) return std::nullopt;
  if (refreshHz * 100 <= kUsualRate * 105 && refreshHz * 100 >= kUsualRate * 95) {
    return std::nullopt;
  }
  return static_cast<double>(refreshHz) / kUsualRate;
}

std::optional<std::string> PaceNote(int refreshHz, int rateHz) {
  const std::optional<double> pace = OffPace(refreshHz, rateHz);
  if (!pace) return std::nullopt;
  char line[256];
  std::snprintf(line, sizeof line,
                "vtrak: the display refreshes %d times a second and the game steps once per "
                "refresh, so it plays %.2f times its usual pace; start it with --rate %d to play "
                "at the usual pace\n",
                refreshHz, *pace, kUsualRate);
  return std::string(line);
}

}  // namespace vtrak
