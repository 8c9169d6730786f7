// Preloaded into the game by game_process_bench: at the first presented frame
// it writes the CLOCK_MONOTONIC time in nanoseconds to the descriptor named by
// VTRAK_FIRST_FRAME_FD and ends the process at once.
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
  using Present = void (*)(SDL_Renderer*);
  const auto present = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
  if (present != nullptr) present(renderer);
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const char* fd = std::getenv("VTRAK_FIRST_FRAME_FD");
  if (fd != nullptr) {
    char text[32];
    const int length =
        std::snprintf(text, sizeof text, "%lld\n",
                      static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (write(std::atoi(fd), text, static_cast<size_t>(length)) < 0) _exit(2);
  }
  _exit(0);
}
