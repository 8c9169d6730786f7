#pragma once
#include "app/app_record.h"

namespace vtrak {

class Window;

// Creates the Canvas font, then the SoundBank with the music started, then the
// Game; fills the App record's SoundBank and Game slots.
void CreateGame(App& app, Window* window);

}  // namespace vtrak
