#include "app/pace_tally.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "platform/graphics/frame_pacer.h"

namespace vtrak {

PaceTally::PaceTally(uint64_t ticksPerSecond, int displayHz, int rateHz)
    : ticksPerSecond_(std::max<uint64_t>(1, ticksPerSecond)),
      period_(FramePacer(ticksPerSecond_, displayHz).period()),
      displayHz_(displayHz),
      refreshHz_(static_cast<double>(ticksPerSecond_) / static_cast<double>(period_)),
      rateHz_(rateHz) {}

void PaceTally::SetRefreshHz(double hz) {
  if (hz <= 0 || hz == refreshHz_) return;
  refreshHz_ = hz;
  period_ = std::max<uint64_t>(1, static_cast<uint64_t>(static_cast<double>(ticksPerSecond_) / hz));
}

void PaceTally::Presented(uint64_t now, int steps, uint64_t forgiven) {
  ++presents_;
  steps_ += static_cast<uint64_t>(steps);
  forgiven_ += forgiven;
  if (running_) {
    const uint64_t gap = now - last_;
    shownTicks_ += gap;
    ++intervalPresents_;
    intervalSteps_ += static_cast<uint64_t>(steps);
    // Presents a refresh and a half or more apart skipped the refreshes between.
    if (gap * 2 >= period_ * 3) missed_ += (gap + period_ / 2) / period_ - 1;
  }
  running_ = true;
  last_ = now;
}

void PaceTally::Restart() {
  presents_ = steps_ = missed_ = forgiven_ = shownTicks_ = intervalPresents_ = intervalSteps_ = 0;
}

double PaceTally::seconds() const {
  return static_cast<double>(shownTicks_) / static_cast<double>(ticksPerSecond_);
}

std::string PaceTally::Line() const {
  const double seconds = this->seconds();
  const double per = seconds > 0 ? 1 / seconds : 0;
  char line[320];
  std::snprintf(
      line, sizeof line,
      "vtrak: pace: display_hz=%d refresh_hz=%.2f rate_hz=%d seconds=%.3f presents=%" PRIu64
      " presents_per_s=%.2f steps=%" PRIu64 " steps_per_s=%.2f missed_refreshes=%" PRIu64
      " forgiven_steps=%" PRIu64 "\n",
      displayHz_, refreshHz_, rateHz_, seconds, presents_,
      static_cast<double>(intervalPresents_) * per, steps_,
      static_cast<double>(intervalSteps_) * per, missed_, forgiven_);
  return line;
}

}  // namespace vtrak
