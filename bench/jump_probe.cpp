// Preloaded into the game by key_latency: one line for every presented frame,
// appended to the file named by VTRAK_PRESENT_LOG, as
//   PRESENT_NS LAST_POLL_NS FIGURE_TOP
// PRESENT_NS is CLOCK_MONOTONIC when SDL_RenderPresent returned; LAST_POLL_NS
// when the game last found its event queue empty before that (the moment its
// key state was final for the frame); FIGURE_TOP the topmost lit row of the
// figure "mE" in the frame's uploaded pixels, -1 when it is not drawn. The
// figure rests with its top on row 265 and rises by four rows on the first
// frame of a jump.
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kFrameWidth = 640;
// Where the figure can be: its column range, and the rows from the top of its
// highest jump down to the ground line (not included).
constexpr int kLeft = 300, kRight = 346, kTop = 230, kBottom = 280;

struct ProbeState {
  int log = -1;  // descriptor of the log, opened at the first present
  int64_t lastEmptyPoll = 0;
  int figureTop = -1;  // of the frame uploaded last
};

ProbeState& State() {
  static ProbeState state;
  return state;
}

int64_t Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

bool Lit(uint32_t argb) {
  return ((argb >> 8) & 0xFFu) >= 0x80u;
}

// The figure's top row in a 640-pixel-wide ARGB frame. A post crossing the
// figure's columns is a column lit from top to bottom of the range: skipped.
int FigureTop(const uint32_t* pixels, int pitchPixels) {
  bool post[kRight - kLeft] = {};
  for (int x = kLeft; x < kRight; ++x) {
    bool whole = true;
    for (int y = kTop; y < kBottom && whole; ++y) whole = Lit(pixels[y * pitchPixels + x]);
    post[x - kLeft] = whole;
  }
  for (int y = kTop; y < kBottom; ++y) {
    for (int x = kLeft; x < kRight; ++x) {
      if (!post[x - kLeft] && Lit(pixels[y * pitchPixels + x])) return y;
    }
  }
  return -1;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event) {
  static const auto next = Next<int (*)(SDL_Event*)>("SDL_PollEvent");
  const int pending = next != nullptr ? next(event) : 0;
  if (pending == 0) State().lastEmptyPoll = Now();
  return pending;
}

extern "C" int SDL_UpdateTexture(SDL_Texture* texture, const SDL_Rect* rect, const void* pixels,
                                 int pitch) {
  static const auto next =
      Next<int (*)(SDL_Texture*, const SDL_Rect*, const void*, int)>("SDL_UpdateTexture");
  if (rect == nullptr && pixels != nullptr && pitch >= kFrameWidth * 4) {
    State().figureTop = FigureTop(static_cast<const uint32_t*>(pixels), pitch / 4);
  }
  return next != nullptr ? next(texture, rect, pixels, pitch) : -1;
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
  static const auto next = Next<void (*)(SDL_Renderer*)>("SDL_RenderPresent");
  if (next != nullptr) next(renderer);
  const int64_t presented = Now();
  ProbeState& state = State();
  if (state.log < 0) {
    const char* path = std::getenv("VTRAK_PRESENT_LOG");
    if (path == nullptr) return;
    state.log = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (state.log < 0) return;
  }
  char line[80];
  const int length =
      std::snprintf(line, sizeof line, "%lld %lld %d\n", static_cast<long long>(presented),
                    static_cast<long long>(state.lastEmptyPoll), state.figureTop);
  if (write(state.log, line, static_cast<size_t>(length)) < 0) _exit(2);
}
