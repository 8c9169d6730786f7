// The message box in the browser: the same box, drawn in the page's canvas
// (640 by 480, the box in its middle on black), since a page has no windows
// of its own to open. A page cannot wait either: the box is shown, the call
// returns, and the box stays up, answering its button and its keys, until it
// is dismissed; then the canvas goes black, as the screen does where a
// program ends after its message. The page has one canvas, so a box can only
// be shown while the game has not taken it.
#include <SDL2/SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/font/font_lookup.h"
#include "platform/font/glyph_cache.h"
#include "platform/graphics/sdl_presenter.h"
#include "platform/window/message_box.h"
#include "platform/window/message_box_drawing.h"
#include "platform/window/message_box_input.h"
#include "platform/window/window.h"

namespace vtrak {
namespace {

constexpr int kTextPixelsPerEm = 16;

// The box while it is up: everything the page's loop needs to answer it.
struct OpenBox {
  MessageBoxLayout layout;
  SDL_Window* window = nullptr;
  std::unique_ptr<SdlPresenter> presenter;
  std::optional<MessageBoxInput> input;
  int left = 0;  // the box's place in the canvas
  int top = 0;
  std::vector<uint32_t> box;
  std::vector<uint32_t> canvas;
};

void Show(OpenBox& open) {
  DrawMessageBox(open.layout, open.input->buttonPressed(), open.box);
  open.canvas.assign(static_cast<size_t>(kClientWidth) * kClientHeight, 0xFF000000u);
  for (int y = 0; y < open.layout.height; ++y) {
    const uint32_t* row = open.box.data() + static_cast<size_t>(y) * open.layout.width;
    std::copy(
        row, row + open.layout.width,
        open.canvas.begin() + static_cast<ptrdiff_t>((open.top + y) * kClientWidth + open.left));
  }
  open.presenter->Present(open.canvas.data(), kClientWidth, kClientHeight);
}

// The pointer's place in the box rather than in the canvas.
SDL_Event InBox(SDL_Event event, const OpenBox& open) {
  if (event.type == SDL_MOUSEMOTION) {
    event.motion.x -= open.left;
    event.motion.y -= open.top;
  } else if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
    event.button.x -= open.left;
    event.button.y -= open.top;
  }
  return event;
}

// One animation frame of the page while the box is up.
void AnswerBox(void* argument) {
  OpenBox& open = *static_cast<OpenBox*>(argument);
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    switch (open.input->Handle(InBox(event, open))) {
      case MessageBoxInput::Outcome::Redraw:
        Show(open);
        break;
      case MessageBoxInput::Outcome::Dismissed:
        emscripten_cancel_main_loop();
        open.canvas.assign(open.canvas.size(), 0xFF000000u);
        open.presenter->Present(open.canvas.data(), kClientWidth, kClientHeight);
        open.presenter.reset();
        SDL_DestroyWindow(open.window);
        delete &open;
        return;
      case MessageBoxInput::Outcome::Others:
      case MessageBoxInput::Outcome::Taken:
        break;
    }
  }
}

}  // namespace

bool ShowMessageBox(const char* utf8Text, std::string* whyNot) {
  const auto refuse = [whyNot](const char* reason) {
    if (whyNot != nullptr) *whyNot = reason;
    return false;
  };
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    return refuse("the page's canvas cannot be drawn on");
  }
  // The game's window holds the canvas (and the page's loop) already.
  if (SDL_GetKeyboardFocus() != nullptr || SDL_GetMouseFocus() != nullptr) {
    return refuse("the game holds the canvas");
  }
  const std::optional<FontFile> file = FindFontFile("IPAPGothic", 400, false);
  std::unique_ptr<GlyphCache> glyphs =
      file ? GlyphCache::Open(file->path, file->index, -kTextPixelsPerEm) : nullptr;
  if (!glyphs) return refuse("the page's face is missing");

  auto open = std::make_unique<OpenBox>();
  open->layout = LayOutMessageBox(utf8Text, *glyphs);
  if (open->layout.width > kClientWidth || open->layout.height > kClientHeight) {
    return refuse("the box is larger than the canvas");
  }
  open->left = (kClientWidth - open->layout.width) / 2;
  open->top = (kClientHeight - open->layout.height) / 2;
  open->window = SDL_CreateWindow("", 0, 0, kClientWidth, kClientHeight, 0);
  if (open->window == nullptr) return refuse("no window for the box");
  SDL_Renderer* renderer = SDL_CreateRenderer(open->window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer != nullptr) {
    open->presenter = SdlPresenter::Create(renderer, kClientWidth, kClientHeight, false, 0);
  }
  if (!open->presenter) {
    SDL_DestroyWindow(open->window);
    return refuse("no renderer for the box");
  }
  open->input.emplace(SDL_GetWindowID(open->window), open->layout.button);
  Show(*open);
  emscripten_set_main_loop_arg(AnswerBox, open.release(), 0, 0);
  return true;
}

}  // namespace vtrak
