#include "platform/graphics/frame_pacer.h"

#include <algorithm>

namespace vtrak {

FramePacer::FramePacer(uint64_t ticksPerSecond, int refreshHz) {
  const uint64_t hz = refreshHz > 0 ? static_cast<uint64_t>(refreshHz) : kFallbackRefreshHz;
  period_ = std::max<uint64_t>(1, (ticksPerSecond + hz / 2) / hz);
}

uint64_t FramePacer::TicksToWait(uint64_t now) const {
  if (!started_ || now >= due_) return 0;
  return due_ - now;
}

void FramePacer::FrameStarted(uint64_t now) {
  if (!started_ || now >= due_ + period_) {
    due_ = now + period_;
  } else {
    due_ += period_;
  }
  started_ = true;
}

VsyncCheck::Verdict VsyncCheck::Presented(uint64_t now) {
  if (!started_) {
    started_ = true;
    previous_ = now;
    intervals_.reserve(kIntervals);
    return Verdict::Pending;
  }
  if (static_cast<int>(intervals_.size()) >= kIntervals) return Verdict::Pending;
  intervals_.push_back(now - previous_);
  previous_ = now;
  if (static_cast<int>(intervals_.size()) < kIntervals) return Verdict::Pending;
  std::vector<uint64_t> sorted = intervals_;
  std::nth_element(sorted.begin(), sorted.begin() + kIntervals / 2, sorted.end());
  measured_ = sorted[kIntervals / 2];
  return measured_ * 2 >= period_ ? Verdict::Real : Verdict::Fake;
}

}  // namespace vtrak
