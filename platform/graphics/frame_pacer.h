#pragma once
// Keeping presents to the display's refresh rate. Where the renderer's vsync
// is real the present itself waits for the retrace; where it is not, the
// presenter waits on the performance counter until one refresh period has
// passed since the previous present was due.
#include <cstdint>
#include <vector>

namespace vtrak {

inline constexpr int kFallbackRefreshHz = 60;

class FramePacer {
 public:
  // `refreshHz` 0 (the display does not say) counts as 60 Hz.
  FramePacer(uint64_t ticksPerSecond, int refreshHz);

  uint64_t period() const { return period_; }
  // Counter ticks to wait at `now` before the next present may go out.
  uint64_t TicksToWait(uint64_t now) const;
  // A present went out at `now`. The next is due one period after this one
  // was due; a present later than that starts the schedule afresh, so a slow
  // frame is never followed by a burst of catching up.
  void Presented(uint64_t now);

 private:
  uint64_t period_;
  uint64_t due_ = 0;
  bool started_ = false;
};

// Tells real vsync from a renderer that only claims it: with real vsync the
// presents complete about one refresh period apart even though a frame's work
// takes a fraction of that.
class VsyncCheck {
 public:
  enum class Verdict { Pending, Real, Fake };
  static constexpr int kIntervals = 12;

  explicit VsyncCheck(uint64_t period) : period_(period) {}
  // A present completed at `now`; the verdict comes with the last interval.
  Verdict Presented(uint64_t now);

 private:
  uint64_t period_;
  uint64_t previous_ = 0;
  bool started_ = false;
  std::vector<uint64_t> intervals_;
};

}  // namespace vtrak
