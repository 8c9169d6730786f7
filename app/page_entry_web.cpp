// What the page calls in the program besides main: it composes bgm.wav into
// the program's folder before the program starts, with the generator the
// Linux build composes it with at build time, reads the runs it keeps or is
// linked to as the program reads them, and hands over the first file of a
// drop on the canvas (a page learns a dropped file's name only).
#include <SDL2/SDL.h>
#include <emscripten.h>

#include <cstdio>
#include <optional>
#include <string>

#include "game/run_file.h"
#include "tools/music/night_train.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int vtrak_compose_music() {
  return vtrak::music::WriteNightTrain("/bgm.wav") ? 1 : 0;
}

// The score of the best run in the file at `path`, the run `--replay` plays;
// -1, with the reader's line on the console, when the file holds none.
EMSCRIPTEN_KEEPALIVE int vtrak_run_score(const char* path) {
  vtrak::RunRecord run;
  std::string why;
  if (vtrak::PickRun(path, std::nullopt, run, why)) return run.score;
  std::printf("the page's run: %s\n", why.c_str());
  return -1;
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
