// vtrak-tool display: whether the game could open its window here, asked the
// way the game asks, without taking its lock or showing anything.
#include <SDL2/SDL.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/window/video_driver.h"
#include "platform/window/window.h"
#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {

int RunDisplayCommand(int argc, char** /*argv*/) {
  if (argc != 0) {
    std::fputs("usage: vtrak-tool display\n", stderr);
    return 2;
  }
  std::string detail;
  switch (StartVideo("vtrak-tool", detail)) {
    case VideoStart::NoDisplay:
      std::fprintf(stderr, "vtrak-tool: no display (%s)\n", detail.c_str());
      return 1;
    case VideoStart::Failed:
      std::fprintf(stderr, "vtrak-tool: cannot start the video system: %s\n", detail.c_str());
      return 1;
    case VideoStart::Ok:
      break;
  }
  // A hidden window, never shown: the game's next step.
  const bool opened = Window::Create("vtrak-tool", "vtrak-tool display") != nullptr;
  if (opened) {
    std::puts(SDL_GetCurrentVideoDriver());
  } else {
    std::fprintf(stderr, "vtrak-tool: cannot open a window: %s\n", SDL_GetError());
  }
  SDL_Quit();
  return opened ? 0 : 1;
}

}  // namespace vtrak::tool
