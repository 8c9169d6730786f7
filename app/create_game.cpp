#include "app/create_game.h"

#include <cstdio>

#include "game/game.h"
#include "render/canvas.h"
#include "sound/sound_bank.h"

namespace vtrak {

void CreateGame(App& app, Window* window) {
  CreateCanvasFont(*app.canvas);
  // The bank and the Game live until the shell's shutdown deletes them, after
  // the input and the graphics are released: the music plays on to the end.
  app.soundBank = CreateSoundBank(window);
  if (!app.soundBank->directSound) {
    std::fputs(
        "vtrak: no sound device found; V-TRAK plays without sound (ALSOFT_LOGLEVEL=3 shows why)\n",
        stderr);
  }
  StartMusic(*app.soundBank);
  app.game = new Game(NewGame(app.canvas, app.input, app.soundBank));
}

}  // namespace vtrak
