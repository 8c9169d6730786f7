#pragma once
// What the frame loop counts of its own pace: the presents, the steps and the
// refreshes missed between presents, over the time the window was shown. With
// VTRAK_PACE_STATS set the loop writes it as one line on stderr at the end,
// and, when the variable names a number of seconds, a line for each such
// stretch of shown time as well.
#include <cstdint>
#include <string>

namespace vtrak {

class PaceTally {
 public:
  // `displayHz`, the display mode's refresh, 0 (the display does not say)
  // counting as 60 Hz, is the refresh until the presents' own is known.
  PaceTally(uint64_t ticksPerSecond, int displayHz, int rateHz);

  // The refresh the presents were found to keep: misses count against it.
  void SetRefreshHz(double hz);
  // A frame that made `steps` steps, and forgave `forgiven` more (the
  // machine stalled), was presented; the present returned at `now`.
  void Presented(uint64_t now, int steps, uint64_t forgiven = 0);
  // The window was hidden: the time away is neither shown time nor a miss.
  void Paused() { running_ = false; }
  // The counts start again from the last present.
  void Restart();
  double seconds() const;

  uint64_t presents() const { return presents_; }
  uint64_t steps() const { return steps_; }
  uint64_t missedRefreshes() const { return missed_; }
  // "vtrak: pace: display_hz=… refresh_hz=… rate_hz=… seconds=… presents=… presents_per_s=…
  // steps=… steps_per_s=… missed_refreshes=… forgiven_steps=…", the rates over the shown
  // time.
  std::string Line() const;

 private:
  uint64_t ticksPerSecond_;
  uint64_t period_;
  int displayHz_;
  double refreshHz_;
  int rateHz_;
  uint64_t presents_ = 0;
  uint64_t steps_ = 0;
  uint64_t missed_ = 0;
  uint64_t forgiven_ = 0;
  uint64_t shownTicks_ = 0;        // from each run's first present to its last
  uint64_t intervalPresents_ = 0;  // presents and steps that end such an interval
  uint64_t intervalSteps_ = 0;
  uint64_t last_ = 0;
  bool running_ = false;
};

}  // namespace vtrak
