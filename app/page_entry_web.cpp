// What the page calls in the program besides main: it composes bgm.wav into
// the program's folder before the program starts, with the generator the
// Linux build composes it with at build time, and hands over the first file of
// a drop on the canvas (a page learns a dropped file's name only).
#include <SDL2/SDL.h>
#include <emscripten.h>

#include "tools/music/night_train.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int vtrak_compose_music() {
  return vtrak::music::WriteNightTrain("/bgm.wav") ? 1 : 0;
}

// As SDL reports a drop on a desktop window: begin, the file, complete.
EMSCRIPTEN_KEEPALIVE void vtrak_drop_file(const char* name) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_Event event{};
  event.drop.type = SDL_DROPBEGIN;
  SDL_PushEvent(&event);
  event.drop.type = SDL_DROPFILE;
  event.drop.file = SDL_strdup(name);
  SDL_PushEvent(&event);
  event.drop.type = SDL_DROPCOMPLETE;
  event.drop.file = nullptr;
  SDL_PushEvent(&event);
}
}
