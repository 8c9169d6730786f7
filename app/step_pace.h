#pragma once
// How many game steps each presented frame carries. By default one: the game
// steps once per refresh of the display. At a chosen rate the steps follow the
// performance counter instead: by any moment the game has made as many steps
// as the time since the first frame holds at that rate, counted from that
// start so that rounding never adds up; a refresh that falls between two
// steps shows the latest frame again.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace vtrak {

class StepPace {
 public:
  // A frame owing more (the machine stalled) makes the steps of this many
  // refreshes and forgives the rest, so the game never races to catch up; a
  // rate above the refresh still has every step it asks for.
  static constexpr uint64_t kMostRefreshesPerFrame = 4;

  // `rateHz` 0: one step per frame. `refreshHz`, the display's (0: unknown,
  // taken as 60), sets how many steps a refresh carries at the rate.
  StepPace(uint64_t ticksPerSecond, int rateHz, int refreshHz = 0);

  // The steps the frame starting at `now` makes; they count as made.
  int StepsDue(uint64_t now);
  // The steps forgiven since the last call, and none after it.
  uint64_t TakeForgiven() { return std::exchange(forgiven_, 0); }
  // The window was hidden: the next frame makes one step and the schedule
  // starts again from it, owing nothing for the time away.
  void Restart() { started_ = false; }

 private:
  uint64_t ticksPerSecond_;
  uint64_t rate_;
  uint64_t mostSteps_;  // in one frame
  uint64_t start_ = 0;
  uint64_t made_ = 0;
  uint64_t forgiven_ = 0;
  bool started_ = false;
};

// How many times its usual pace the game plays at one step per refresh, when
// the refresh is more than 5 % away from the usual 60 steps a second and no
// rate was chosen; none otherwise (or when the refresh is unknown, 0).
std::optional<double> OffPace(int refreshHz, int rateHz);

// The line to show once at start-up when the pace is off (OffPace).
std::optional<std::string> PaceNote(int refreshHz, int rateHz);

}  // namespace vtrak
