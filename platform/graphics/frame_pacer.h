#pragma once
// Keeping frames to the display's refresh rate. Where the renderer's vsync is
// real the present itself waits for the retrace (and VsyncDelay places the
// frame's start); where it is not, the frame loop waits on the performance
// counter, before it reads the next frame's input, until one refresh period
// has passed since the previous frame was due to start. The input read, the
// step and the present then follow each other without a pause.
#include <cstdint>
#include <vector>

namespace vtrak {

inline constexpr int kFallbackRefreshHz = 60;

class FramePacer {
 public:
  // `refreshHz` 0 (the display does not say) counts as 60 Hz.
  FramePacer(uint64_t ticksPerSecond, int refreshHz);

  uint64_t period() const { return period_; }
  // Counter ticks to wait at `now` before the next frame may start.
  uint64_t TicksToWait(uint64_t now) const;
  // A frame started at `now`. The next is due one period after this one was
  // due; a start a whole period late begins the schedule afresh, so a slow
  // frame is never followed by a burst of catching up.
  void FrameStarted(uint64_t now);

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
  // The median interval between the presents, once the verdict is in: the
  // refresh period the display's clock keeps, whatever its mode claims (a
  // compositor may repaint at its own pace).
  uint64_t measuredPeriod() const { return measured_; }

 private:
  uint64_t period_;
  uint64_t previous_ = 0;
  uint64_t measured_ = 0;
  bool started_ = false;
  std::vector<uint64_t> intervals_;
};

}  // namespace vtrak
