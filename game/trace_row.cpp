#include "game/trace_row.h"

#include <cinttypes>
#include <cstdio>

namespace vtrak {

TraceRowText TraceRow(int64_t step, const Game& game) {
  TraceRowText row;
  std::snprintf(row.text, sizeof row.text, "%" PRId64 ",%d,%d,%d,%d,%d,%d,%d\n", step, game.speed,
                game.score, game.spanPosition, game.halfSpan, game.scrollPhase, game.dead,
                game.jumpTimer);
  return row;
}

}  // namespace vtrak
