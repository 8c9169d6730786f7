#include "platform/graphics/vsync_delay.h"

#include <algorithm>

namespace vtrak {

VsyncDelay::VsyncDelay(uint64_t period)
    : period_(period), longestPeriod_(period), leastMargin_(period / 16), margin_(period / 8) {}

uint64_t VsyncDelay::TicksToWait(uint64_t now) const {
  const uint64_t start = lastReturn_ + delay_;
  return started_ && now < start ? start - now : 0;
}

void VsyncDelay::Presented(uint64_t submitted, uint64_t returned) {
  const uint64_t gap = returned - lastReturn_;
  if (started_ && gap <= kPausePeriods * period_) {
    const uint64_t due = lastReturn_ + delay_;
    const uint64_t work = submitted > due ? submitted - due : 0;
    work_[nextSample_] = work;
    gaps_[nextSample_] = gap;
    nextSample_ = (nextSample_ + 1) % kSamples;
    samples_ = std::min<size_t>(samples_ + 1, kSamples);
    const bool missed = gap > period_ + period_ / 2;
    if (samples_ >= static_cast<size_t>(kLeastSamples)) {
      period_ = std::min(longestPeriod_, Ranked(gaps_, samples_ / 4));
    }
    if (missed) {
      // A retrace was missed: leave more room.
      margin_ = std::min(period_, margin_ * 2);
      framesInTime_ = 0;
    } else if (++framesInTime_ >= kSettledFrames) {
      margin_ = std::max(leastMargin_, margin_ / 2);
      framesInTime_ = 0;
    }
  }
  // After a pause (the window dragged, the machine busy) the schedule simply
  // starts again from this present: nothing is owed.
  started_ = true;
  lastReturn_ = returned;
  const uint64_t headroom = Headroom();
  delay_ = headroom < period_ ? period_ - headroom : 0;
}

// The 95th percentile of the remembered work plus the margin; the whole period
// until enough frames have been seen.
uint64_t VsyncDelay::Headroom() const {
  if (samples_ < static_cast<size_t>(kLeastSamples)) return period_;
  return Ranked(work_, (samples_ * 95 + 99) / 100 - 1) + margin_;
}

uint64_t VsyncDelay::Ranked(const std::array<uint64_t, kSamples>& ring, size_t k) const {
  // Sorted on the stack: this runs after every present.
  std::array<uint64_t, kSamples> sorted = ring;
  std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(k),
                   sorted.begin() + static_cast<std::ptrdiff_t>(samples_));
  return sorted[k];
}

}  // namespace vtrak
