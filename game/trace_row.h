#pragma once
// The state trace of a run: one row of the Game's numbers per step, as
// `vtrak-tool sim --trace` writes it and the game's own trace hook too.
#include <cstdint>

#include "game/game.h"

namespace vtrak {

inline constexpr const char* kTraceHeader =
    "step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer\n";

// One row, formatted in place rather than on the heap: a traced step takes
// no memory, however long the run.
struct TraceRowText {
  char text[160];
};

// The row of `step` after it, ending in a newline.
TraceRowText TraceRow(int64_t step, const Game& game);

}  // namespace vtrak
