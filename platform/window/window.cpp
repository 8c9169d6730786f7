#include "platform/window/window.h"

#include <algorithm>
#include <utility>

#include "platform/window/desktop_scale.h"
#include "platform/window/display_geometry.h"

namespace vtrak {
namespace {

// How long the pointer rests on the whole screen before it hides.
constexpr uint64_t kPointerRestMs = 1500;
// How long a shown window waits at most to learn its frame from the window manager.
constexpr uint64_t kFrameWaitMs = 250;

bool IsFullScreenKey(const SDL_KeyboardEvent& key) {
  if (key.repeat != 0) return false;
  if (key.keysym.sym == SDLK_F11) return true;
  return (key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER) &&
         (key.keysym.mod & KMOD_ALT) != 0;
}

}  // namespace

std::unique_ptr<Window> Window::Create(const char* className, const char* title) {
  (void)className;  // applied through SDL_VIDEO_X11_WMCLASS before the video subsystem starts
  SDL_Window* window =
      SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kClientWidth,
                       kClientHeight, SDL_WINDOW_HIDDEN | HighDensityWindowFlag());
  if (window == nullptr) return nullptr;
  // A fixed size: the window manager offers no resizing and no maximising.
  SDL_SetWindowMinimumSize(window, kClientWidth, kClientHeight);
  SDL_SetWindowMaximumSize(window, kClientWidth, kClientHeight);
  return std::unique_ptr<Window>(new Window(window));
}

Window::~Window() {
  SDL_DestroyWindow(window_);
}

void Window::GetWindowRect(int& width, int& height) const {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;  // no frame known yet: the outer size is the client size
  }
  GetClientRect(width, height);
  width += left + right;
  height += top + bottom;
}

void Window::GetClientRect(int& width, int& height) const {
  SDL_GetWindowSize(window_, &width, &height);
}

void Window::SetOuterSize(int width, int height) {
  int outerWidth = 0, outerHeight = 0, clientWidth = 0, clientHeight = 0;
  GetWindowRect(outerWidth, outerHeight);
  GetClientRect(clientWidth, clientHeight);
  const int newClientWidth = width - (outerWidth - clientWidth);
  const int newClientHeight = height - (outerHeight - clientHeight);
  SDL_SetWindowMinimumSize(window_, newClientWidth, newClientHeight);
  SDL_SetWindowMaximumSize(window_, newClientWidth, newClientHeight);
  SDL_SetWindowSize(window_, newClientWidth, newClientHeight);
}

int Window::PixelsPerUnit() const {
  int width = 0, height = 0, pixelWidth = 0, pixelHeight = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SDL_GetWindowSizeInPixels(window_, &pixelWidth, &pixelHeight);
  return width > 0 && pixelWidth >= width ? pixelWidth / width : 1;
}

bool Window::UsableScreenSize(int& width, int& height) const {
  SDL_Rect area{};
  if (SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &area) != 0 ||
      area.w <= 0 || area.h <= 0) {
    return false;
  }
  width = area.w;
  height = area.h;
  return true;
}

void Window::PlaceOnScreen() {
  SDL_Rect area{};
  if (IsFullScreen() ||
      SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &area) != 0) {
    return;
  }
  int top = 0, left = 0, bottom = 0, right = 0, width = 0, height = 0;
  // A shown window's frame comes with the window manager's answer, soon after.
  const bool shown = (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
  for (uint64_t until = SDL_GetTicks64() + kFrameWaitMs;; SDL_Delay(5)) {
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
      top = left = bottom = right = 0;
      break;
    }
    if (!shown || top + left + bottom + right > 0 || SDL_GetTicks64() > until) break;
    SDL_PumpEvents();
  }
  GetClientRect(width, height);
  SDL_SetWindowPosition(window_, PlaceAlong(area.x, area.w, left, width, right),
                        PlaceAlong(area.y, area.h, top, height, bottom));
}

void Window::SetFullScreen(bool fullScreen) {
  // SDL keeps the window's place and size and gives them back on leaving.
  SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  pointerShown_ = !fullScreen;
  SDL_ShowCursor(pointerShown_ ? SDL_ENABLE : SDL_DISABLE);
}

bool Window::IsFullScreen() const {
  return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void Window::SetIcon(const uint32_t* argb, int width, int height) {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), width, height,
                                                         32, width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return;  // the window keeps the system's icon
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

void Window::Show() {
  SDL_ShowWindow(window_);
}

int Window::ShowState() const {
  const uint32_t flags = SDL_GetWindowFlags(window_);
  if ((flags & SDL_WINDOW_MINIMIZED) != 0) return SW_SHOWMINIMIZED;
  if ((flags & SDL_WINDOW_HIDDEN) != 0) return SW_HIDE;
  return SW_SHOWNORMAL;
}

bool Window::HasKeyboardFocus() const {
  return SDL_GetKeyboardFocus() == window_;
}

bool Window::PeekMessage(Message& message) {
  message = Message{};
  if (quitPosted_) {
    quitPosted_ = false;
    message.kind = MessageKind::Quit;
    message.wParam = quitCode_;
    return true;
  }
  SDL_Event event;
  if (SDL_PollEvent(&event) == 0) {
    if (pointerShown_ && IsFullScreen() && SDL_GetTicks64() - pointerMovedAt_ > kPointerRestMs) {
      pointerShown_ = false;
      SDL_ShowCursor(SDL_DISABLE);
    }
    return false;
  }
  switch (event.type) {
    case SDL_KEYDOWN:
      if (fullScreenKeys_ && IsFullScreenKey(event.key)) {
        message.kind = MessageKind::ToggleFullScreen;
      }
      return true;
    case SDL_MOUSEMOTION:
      pointerMovedAt_ = SDL_GetTicks64();
      if (!pointerShown_) {
        pointerShown_ = true;
        SDL_ShowCursor(SDL_ENABLE);
      }
      return true;
    case SDL_QUIT:
      // Closing the only window: it is destroyed, and the window procedure hears of it.
      if (destroyed_) return true;
      destroyed_ = true;
      message.kind = MessageKind::Destroy;
      return true;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE && !destroyed_) {
        destroyed_ = true;
        SDL_HideWindow(window_);
        message.kind = MessageKind::Destroy;
      }
      return true;
    case SDL_DROPBEGIN:
      fileTakenInDrop_ = false;
      return true;
    case SDL_DROPFILE: {
      // Only the first file of a drop is taken.
      const bool first = !fileTakenInDrop_;
      fileTakenInDrop_ = true;
      if (first && event.drop.file != nullptr) {
        message.kind = MessageKind::DropFiles;
        message.droppedFile = event.drop.file;
      }
      SDL_free(event.drop.file);
      return true;
    }
    case SDL_DROPCOMPLETE:
      fileTakenInDrop_ = false;
      return true;
    default:
      return true;
  }
}

void Window::WaitForEvent() const {
  SDL_WaitEventTimeout(nullptr, 250);
}

void Window::PostQuitMessage(int32_t exitCode) {
  quitPosted_ = true;
  quitCode_ = exitCode;
}

}  // namespace vtrak
