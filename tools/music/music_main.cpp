// vtrak-music OUTPUT.wav: composes the game's music into OUTPUT.wav.
#include <cstdio>

#include "tools/music/night_train.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vtrak-music OUTPUT.wav\n", stderr);
    return 2;
  }
  if (!vtrak::music::WriteNightTrain(argv[1])) {
    std::fprintf(stderr, "error: cannot write %s: check that its folder exists and is writable\n",
                 argv[1]);
    return 1;
  }
  return 0;
}
