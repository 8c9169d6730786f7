#include "game/trace_row.h"

#include <cinttypes>
#include <cstdio>

namespace vtrak {

std::string TraceRow(int64_t step, const Game& game) {
  char row[160];
  std::snprintf(row, sizeof row, "%" PRId64 ",%d,%d,%d,%d,%d,%d,%d\n", step, game.speed, game.score,
                game.spanPosition, game.halfSpan, game.scrollPhase, game.dead, game.jumpTimer);
  return row;
}

}  // namespace vtrak
