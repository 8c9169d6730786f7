#include "app/shell.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/app_record.h"
#include "app/create_game.h"
#include "app/frame_loop.h"
#include "app/icon_image.h"
#include "app/program_directory.h"
#include "app/requested_file_path.h"
#include "app/run_keeping.h"
#include "app/setting_values.h"
#include "app/settings_file.h"
#include "app/step_pace.h"
#include "app/window_scale.h"
#include "game/game.h"
#include "input/input_state.h"
#include "platform/core/clock.h"
#include "platform/input/sdl_input.h"
#include "platform/window/desktop_scale.h"
#include "platform/window/display_geometry.h"
#include "platform/window/message_box.h"
#include "platform/window/single_instance.h"
#include "platform/window/video_driver.h"
#include "platform/window/window.h"
#include "render/canvas.h"
#include "render/graphics_device.h"
#include "sound/sound_bank.h"

namespace vtrak {
namespace {

constexpr const char* kWindowClass = "dolk";
constexpr const char* kTitle = "V-TRAK";
constexpr const char* kAnotherCopyText = "多重起動ですよ！";

// Makes the client area exactly `size` whatever the frame around it: 640 by
// 480 of the desktop's logical pixels, or the scale asked for.
void FitClientArea(Window& window, WindowSize size) {
  int outerWidth = 0, outerHeight = 0, clientWidth = 0, clientHeight = 0;
  window.GetWindowRect(outerWidth, outerHeight);
  window.GetClientRect(clientWidth, clientHeight);
  window.SetOuterSize(outerWidth - clientWidth + size.width,
                      outerHeight - clientHeight + size.height);
}

// Shutdown: input first, then the Canvas and its spare buffers, the device last.
void ReleaseAll(InputState& input, Canvas& canvas, GraphicsDevice& graphics) {
  ReleaseInput(input);
  ReleaseCanvasAndDevice(canvas, graphics);
}

// The display's refresh rate, 0 when it does not say.
int DisplayRefreshHz(GraphicsDevice& graphics) {
  D3DDISPLAYMODE mode{};
  if (!graphics.direct3d || graphics.direct3d->GetAdapterDisplayMode(0, &mode) != D3D_OK) return 0;
  return static_cast<int>(mode.RefreshRate);
}

}  // namespace

int RunShell(const LaunchOptions& commandLine, const RunFiles& runs, int argc,
             const char* const* argv) {
  // Another copy first, before anything is created.
  const SingleInstanceLock lock(kWindowClass);
  if (lock.AnotherCopyRuns()) {
    if (!ShowMessageBox(kAnotherCopyText)) {
      std::fputs("vtrak: another copy of V-TRAK is already running; use that one\n", stderr);
    }
    return 0;
  }

  // The settings file first, the command line over it.
  const std::string settingsPath = SettingsFilePath();
  LaunchOptions saved;
  const bool settingsReadable =
      settingsPath.empty() || ReadSettingsFile(settingsPath, saved, stderr);
  const LaunchOptions options = Overlay(saved, commandLine);

  // The runs asked for, before any window: a file that will not do ends it here.
  std::unique_ptr<RunKeeping> keeping;
  std::string why;
  if (!RunKeeping::Create(runs, std::getenv("VTRAK_TRACE"), keeping, why)) {
    std::fprintf(stderr, "vtrak: %s\n", why.c_str());
    return 1;
  }

  const int rateHz = options.rate.value_or(0);  // 0: one step per refresh
  RequestedFilePath requestedFilePath;
  RequestedPathFromArguments(argc, argv, requestedFilePath);
  if (!EnterProgramDirectory()) {
    std::fputs("vtrak: cannot enter the program's own folder; bgm.wav will not be found\n", stderr);
  }

  std::string detail;
  switch (StartVideo(kWindowClass, detail)) {
    case VideoStart::NoDisplay:
      std::fprintf(stderr,
                   "vtrak: no display (%s): start V-TRAK in a desktop session, or set "
                   "SDL_VIDEODRIVER=dummy to run it headless\n",
                   detail.c_str());
      return 1;
    case VideoStart::Failed:
      std::fprintf(stderr, "vtrak: cannot start the video system: %s\n", detail.c_str());
      return -1;
    case VideoStart::Ok:
      break;
  }

  std::unique_ptr<Window> window = Window::Create(kWindowClass, kTitle);
  if (!window) {
    std::fprintf(stderr, "vtrak: cannot open the game window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  const std::vector<uint32_t> icon = IconPixels(1);
  window->SetIcon(icon.data(), kIconSize, kIconSize);
  FitClientArea(*window, ChooseClientArea(*window, options.scale,
                                          commandLine.scale ? "--scale" : settingsPath, stderr));
  window->PlaceOnScreen();
  if (FullScreenAllowed()) {
    window->TakeFullScreenKeys();
    if (options.fullscreen.value_or(false)) window->SetFullScreen(true);
  }

  GraphicsDevice graphics;
  CreateGraphicsDevice(graphics, window.get(), false);
  Canvas canvas;
  SetupCanvas(canvas, graphics.device.get());

  SystemClock clock;
  InputState input(clock);
  InputServices services{&clock, CreateSdlDirectInput,
                         [](const char* text) { ShowMessageBox(text); }};
  InitInput(input, requestedFilePath, window.get(), services);

  int32_t exitCode = 1;
  App app{&canvas, &input, nullptr, nullptr};
  if (graphics.device) {
    CreateGame(app, window.get());
    if (keeping) keeping->Start(*app.game);
    window->Show();
    window->PlaceOnScreen();  // now that the window manager has given it its frame
    const int refreshHz = DisplayRefreshHz(graphics);
    if (const std::optional<std::string> note = PaceNote(refreshHz, rateHz)) {
      std::fputs(note->c_str(), stderr);
    }
    exitCode = RunFrameLoop(*window, graphics, app, clock, requestedFilePath,
                            StepRate{rateHz, refreshHz, nullptr}, keeping.get(),
                            SettingsFileState{settingsPath, settingsReadable});
    if (keeping) keeping->Stop(*app.game);
  } else {
    // Nothing can be drawn: end with a message rather than run blind.
    std::fputs(
        "vtrak: cannot create a graphics device for the window; check that SDL can open a "
        "renderer on this display\n",
        stderr);
  }
  ReleaseAll(input, canvas, graphics);
  window.reset();
  // The process ends here, and the music with it: the bank closes its sound
  // device itself rather than leave OpenAL to complain at exit.
  delete app.game;
  delete app.soundBank;
  SDL_Quit();
  return exitCode;
}

}  // namespace vtrak
