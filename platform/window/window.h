#pragma once
// The window stand-in: one SDL window with the game's class and title, and the
// message queue the frame loop drains. Its client area starts at the picture's
// 640 by 480 and takes only the sizes the shell sets (SetOuterSize, for the
// chosen or the desktop's scale) or the whole screen; the user cannot resize it.
#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace vtrak {

inline constexpr int kClientWidth = 640;
inline constexpr int kClientHeight = 480;

// The messages the shell's window procedure and frame loop see.
enum class MessageKind { Quit, Destroy, DropFiles, ToggleFullScreen, Other };

struct Message {
  MessageKind kind = MessageKind::Other;
  int32_t wParam = 0;       // the exit code of Quit
  std::string droppedFile;  // the first file of a drop (DropFiles)
};

// Show states as the window placement reports them.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;

class Window {
 public:
  // Creates the window hidden, with WM_CLASS set from `className` (which must
  // be set before SDL's video subsystem starts, see ChooseVideoDriver).
  static std::unique_ptr<Window> Create(const char* className, const char* title);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  SDL_Window* sdl() const { return window_; }

  // Outer and client sizes; SetOuterSize resizes keeping the position.
  void GetWindowRect(int& width, int& height) const;
  void GetClientRect(int& width, int& height) const;
  void SetOuterSize(int width, int height);

  // Screen pixels per unit of the window's size: the desktop's scale where the
  // window system scales windows itself, else 1.
  int PixelsPerUnit() const;
  // The width and height, in units, of the screen the window is on, less
  // the desktop's panels; false when the system does not say.
  bool UsableScreenSize(int& width, int& height) const;
  // In a window, puts it wholly on its screen where it fits (centred), else
  // with its title bar and then its client area on it. Before it is shown
  // the frame is not known yet, and the client area alone is placed.
  void PlaceOnScreen();
  // Whole screen or back to the window as it was; the pointer hides while it
  // rests on the whole screen.
  void SetFullScreen(bool fullScreen);
  bool IsFullScreen() const;
  // From now on F11 and Alt+Enter post ToggleFullScreen, which the window
  // procedure handles. The keys go on reaching the keyboard state as every
  // key does.
  void TakeFullScreenKeys() { fullScreenKeys_ = true; }

  // The window's icon from ARGB pixels, row by row.
  void SetIcon(const uint32_t* argb, int width, int height);
  void Show();
  // SW_HIDE, SW_SHOWMINIMIZED or SW_SHOWNORMAL, from the window's flags.
  int ShowState() const;
  bool HasKeyboardFocus() const;

  // Takes the next pending message without waiting; false when none is pending.
  bool PeekMessage(Message& message);
  // Waits until an event is pending (used only while hidden or minimised).
  void WaitForEvent() const;
  // Posts the Quit message with the given exit code.
  void PostQuitMessage(int32_t exitCode);

 private:
  explicit Window(SDL_Window* window) : window_(window) {}
  SDL_Window* window_;
  bool quitPosted_ = false;
  int32_t quitCode_ = 0;
  bool destroyed_ = false;        // the window has been closed; its Destroy message was sent
  bool fileTakenInDrop_ = false;  // a drop's first file has been passed on
  bool fullScreenKeys_ = false;   // false: the toggle keys post nothing
  bool pointerShown_ = true;
  uint64_t pointerMovedAt_ = 0;  // SDL_GetTicks64 of the last motion
};

}  // namespace vtrak
