#include "platform/window/message_box.h"

#include <SDL2/SDL.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/printable.h"
#include "platform/font/font_lookup.h"
#include "platform/font/glyph_cache.h"
#include "platform/graphics/sdl_presenter.h"
#include "platform/window/message_box_drawing.h"
#include "platform/window/message_box_input.h"
#include "platform/window/video_driver.h"
#include "platform/window/x11_dialog.h"
#include "platform/window/x11_errors.h"

namespace vtrak {
namespace {

constexpr int kTextPixelsPerEm = 16;

// The Canvas's face at the box's size; null, with the reason, when there is
// none.
std::unique_ptr<GlyphCache> OpenFace(std::string& whyNot) {
  const std::optional<FontFile> file = FindFontFile("IPAPGothic", 400, false);
  if (!file) {
    whyNot = "fontconfig finds no face to draw it with (install fonts-ipafont-gothic)";
    return nullptr;
  }
  std::unique_ptr<GlyphCache> glyphs = GlyphCache::Open(file->path, file->index, -kTextPixelsPerEm);
  if (!glyphs) whyNot = "FreeType cannot use the face in " + Printable(file->path);
  return glyphs;
}

// Shows the box and waits until it is dismissed. Events meant for other
// windows wait for their owner: they go back on the queue when the box closes.
bool RunBox(const MessageBoxLayout& layout, std::string& whyNot) {
  // Unlike a game's window, a dialog does not ask a compositor to stand aside.
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        layout.width, layout.height, SDL_WINDOW_HIDDEN);
  SDL_ResetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR);
  if (window == nullptr) {
    whyNot = std::string("cannot open its window: ") + SDL_GetError();
    return false;
  }
  // The software renderer straight onto the window's framebuffer (XShm on
  // X11) opens in milliseconds; by default SDL would emulate that framebuffer
  // with an OpenGL texture, whose context takes the better part of a second
  // to make on a software OpenGL driver. Where there is no such framebuffer
  // (Wayland) any renderer will do.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
  if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
  std::unique_ptr<SdlPresenter> presenter =
      renderer == nullptr ? nullptr
                          : SdlPresenter::Create(renderer, layout.width, layout.height, false, 0);
  if (!presenter) {
    whyNot = std::string("cannot draw in its window: ") + SDL_GetError();
    SDL_DestroyWindow(window);
    return false;
  }

  MessageBoxInput input(SDL_GetWindowID(window), layout.button);
  std::vector<uint32_t> pixels;
  const auto show = [&] {
    DrawMessageBox(layout, input.buttonPressed(), pixels);
    presenter->Present(pixels.data(), layout.width, layout.height);
  };
  MarkAsX11Dialog(window);
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  show();

  // A quit request (an interrupt) closes the box and is kept for the program.
  std::vector<SDL_Event> others;
  const auto handle = [&](const SDL_Event& event) {
    const MessageBoxInput::Outcome outcome = input.Handle(event);
    if (outcome == MessageBoxInput::Outcome::Others || event.type == SDL_QUIT) {
      others.push_back(event);
    }
    return outcome;
  };
  SDL_Event event;
  bool open = true;
  while (open && SDL_WaitEvent(&event) != 0) {
    switch (handle(event)) {
      case MessageBoxInput::Outcome::Redraw:
        show();
        break;
      case MessageBoxInput::Outcome::Dismissed:
        open = false;
        break;
      case MessageBoxInput::Outcome::Others:
      case MessageBoxInput::Outcome::Taken:
        break;
    }
  }
  presenter.reset();
  SDL_DestroyWindow(window);
  // The box's own last events (its close, its focus leaving) go with it.
  while (SDL_PollEvent(&event) != 0) handle(event);
  for (SDL_Event& kept : others) SDL_PushEvent(&kept);
  return true;
}

}  // namespace

bool ShowMessageBox(const char* utf8Text, std::string* whyNot) {
  std::string reason;
  const bool videoWasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (!videoWasUp) IgnoreEventsSentToClosedWindows();
  if (!videoWasUp && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    reason = std::string("no display: ") + SDL_GetError();
  }
  bool shown = false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (reason.empty() && (driver == nullptr || IsInvisibleVideoDriver(driver))) {
    reason =
        std::string("no display: the video driver ") + (driver ? driver : "") + " shows nothing";
  }
  if (reason.empty()) {
    if (std::unique_ptr<GlyphCache> glyphs = OpenFace(reason)) {
      shown = RunBox(LayOutMessageBox(utf8Text, *glyphs), reason);
    }
  }
  if (!videoWasUp && SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (whyNot != nullptr) *whyNot = Printable(reason);
  return shown;
}

}  // namespace vtrak
