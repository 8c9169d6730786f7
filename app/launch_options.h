#pragma once
// How the player asked the game to start: the window's scale, full screen and
// the steps a second. Filled from the settings file and then the command line;
// an empty field was not asked for, and the game's own default holds.
#include <cstdint>
#include <optional>
#include <string>

namespace vtrak {

inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 8;
inline constexpr int kMinRate = 1;
inline constexpr int kMaxRate = 1000;

struct LaunchOptions {
  std::optional<int> scale;        // physical pixels per game pixel; empty: the desktop's own
  std::optional<bool> fullscreen;  // empty: in a window
  std::optional<int> rate;         // game steps a second; empty: one step per display refresh
};

// The runs asked for on the command line only: where to keep them, and one
// to replay. Empty: nothing is read or written.
struct RunFiles {
  std::string record;          // --record FILE: each run is appended as it ends
  std::string replay;          // --replay FILE: one of its runs plays first
  std::optional<int64_t> run;  // --run N: which, from 1; none: the best
};

}  // namespace vtrak
