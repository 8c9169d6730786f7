#include "app/create_game.h"

#include "game/game.h"
#include "render/canvas.h"
#include "sound/sound_bank.h"

namespace vtrak {

void CreateGame(App& app, Window* window) {
  CreateCanvasFont(*app.canvas);
  // The bank and the Game live until the shell's shutdown deletes them, after
  // the input and the graphics are released: the music plays on to the end.
  app.soundBank = CreateSoundBank(window);
  StartMusic(*app.soundBank);
  app.game = new Game(NewGame(app.canvas, app.input, app.soundBank));
}

}  // namespace vtrak
