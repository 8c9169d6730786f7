#pragma once
// Where real vsync paces the presents, how long to sleep after a present
// returns before the next frame reads its input. The present returns at a
// retrace and the next retrace comes one period later, so the frame can start
// as late as its work allows and still make it: the delay is the period less
// a high percentile of the recent frames' work and a safety margin. A present
// that misses its retrace doubles the margin; a long run in time halves it
// again, down to its least. The period is the lower quartile of the recent
// intervals between the presents' returns once there are enough (misses only
// lengthen them), never above the period it was made with: a compositor's
// frame clock may run faster than the display mode it reports, and a run of
// misses must not slow the schedule down to their pace.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vtrak {

class VsyncDelay {
 public:
  static constexpr int kSamples = 32;           // frames of work remembered
  static constexpr int kLeastSamples = 8;       // no delay before this many
  static constexpr int kSettledFrames = 600;    // in time before the margin halves
  static constexpr uint64_t kPausePeriods = 4;  // a longer gap is a pause, not a miss

  explicit VsyncDelay(uint64_t period);

  // Counter ticks to sleep at `now`, after the last present returned, before
  // the next frame starts.
  uint64_t TicksToWait(uint64_t now) const;
  // The frame's present was handed to the renderer at `submitted` and
  // returned at `returned`. Its work counts from when it was due to start.
  void Presented(uint64_t submitted, uint64_t returned);

  uint64_t delay() const { return delay_; }
  uint64_t period() const { return period_; }

 private:
  uint64_t Headroom() const;
  // The kth smallest of the first samples_ entries of `ring`.
  uint64_t Ranked(const std::array<uint64_t, kSamples>& ring, size_t k) const;

  uint64_t period_;
  uint64_t longestPeriod_;  // the one it was made with
  uint64_t leastMargin_;
  uint64_t margin_;
  std::array<uint64_t, kSamples> work_{};  // a ring of the last kSamples frames' work
  std::array<uint64_t, kSamples> gaps_{};  // and of the intervals between their returns
  size_t samples_ = 0;                     // how many of them hold a frame's
  size_t nextSample_ = 0;
  uint64_t lastReturn_ = 0;
  bool started_ = false;
  uint64_t delay_ = 0;
  int framesInTime_ = 0;
};

}  // namespace vtrak
