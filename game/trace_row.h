#pragma once
// The state trace of a run: one row of the Game's numbers per step, as
// `vtrak-tool sim --trace` writes it and the game's own trace hook too.
#include <cstdint>
#include <string>

#include "game/game.h"

namespace vtrak {

inline constexpr const char* kTraceHeader =
    "step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer\n";

// The row of `step` after it, ending in a newline.
std::string TraceRow(int64_t step, const Game& game);

}  // namespace vtrak
