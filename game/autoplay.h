#pragma once
// A player that never misses: it presses Z in the step that puts the figure
// at the top of its jump when the post ahead reaches it.
#include "game/game.h"

namespace vtrak {

// True when a press of Z in the coming step clears the coming post with a
// margin of ten steps either way. Looks at most sixteen steps ahead.
bool AutoplayWantsJump(const Game& game);

}  // namespace vtrak
