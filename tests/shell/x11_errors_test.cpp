// X errors as SDL meets them when a window closes while SDL wakes itself.
// Needs an X display: ctest runs it through on_x_display.sh.
// gtest goes before Xlib, whose macros (None, Bool) clash with its names.
// clang-format off
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
// clang-format on

#include "platform/window/x11_errors.h"

#include <cstdlib>
#include <string>

#include "platform/window/video_driver.h"

namespace vtrak {
namespace {

// Video started as the game starts it. Each case runs in a child of its own
// (the death-test style "threadsafe" starts the test program afresh).
class X11ErrorsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

  void SetUp() override {
    std::string detail;
    ASSERT_EQ(StartVideo("vtrak-test", detail), VideoStart::Ok) << detail;
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
  }
  void TearDown() override { SDL_Quit(); }
};

// The X id of a window of SDL's that the server has already destroyed.
Window ClosedWindow() {
  SDL_Window* window = SDL_CreateWindow("", 0, 0, 8, 8, SDL_WINDOW_HIDDEN);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) std::exit(2);
  const Window id = info.info.x11.window;
  Display* display = info.info.x11.display;
  SDL_DestroyWindow(window);
  XSync(display, False);
  return id;
}

// A request about `window` made over a second connection, as SDL sends its
// wake-up event, and answered before that connection closes.
template <typename Request>
void OnSecondConnection(Window window, Request request) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) std::exit(2);
  request(display, window);
  XSync(display, False);
  XCloseDisplay(display);
}

void SendAnEvent(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.format = 32;
  XSendEvent(display, window, False, NoEventMask, &event);
}

TEST_F(X11ErrorsTest, AnEventSentToAClosedWindowIsHarmlessAndOtherErrorsStillEndTheProgram) {
  EXPECT_EXIT(
      {
        OnSecondConnection(ClosedWindow(), SendAnEvent);
        SDL_Quit();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        IgnoreEventsSentToClosedWindows();  // again, with SDL's handler in place now
        OnSecondConnection(ClosedWindow(), XMapWindow);
        std::exit(0);
      },
      ::testing::ExitedWithCode(1), "BadWindow");
}

}  // namespace
}  // namespace vtrak
