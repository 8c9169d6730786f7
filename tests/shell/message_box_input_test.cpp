// What closes the message box, and what it keeps for other windows.
#include "platform/window/message_box_input.h"

#include <gtest/gtest.h>

namespace vtrak::testing {
namespace {

using Outcome = MessageBoxInput::Outcome;
constexpr uint32_t kBox = 7;
constexpr uint32_t kGame = 3;
const BoxRect kButton{76, 70, 88, 28};

SDL_Event Key(uint32_t type, SDL_Keycode code, int repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.type = type;
  event.key.windowID = kBox;
  event.key.repeat = static_cast<uint8_t>(repeat);
  event.key.keysym.sym = code;
  return event;
}

SDL_Event Mouse(uint32_t type, int x, int y, uint32_t window = kBox) {
  SDL_Event event{};
  event.type = type;
  if (type == SDL_MOUSEMOTION) {
    event.motion.windowID = window;
    event.motion.x = x;
    event.motion.y = y;
  } else {
    event.button.type = type;
    event.button.windowID = window;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
  }
  return event;
}

SDL_Event WindowEvent(uint32_t window, SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = window;
  event.window.event = static_cast<uint8_t>(id);
  return event;
}

TEST(MessageBoxInput, APressOfReturnSpaceEscapeOrEnterCloses) {
  for (const SDL_Keycode code : {SDLK_RETURN, SDLK_SPACE, SDLK_ESCAPE, SDLK_KP_ENTER}) {
    MessageBoxInput input(kBox, kButton);
    EXPECT_EQ(input.Handle(Key(SDL_KEYDOWN, code)), Outcome::Taken) << code;
    EXPECT_EQ(input.Handle(Key(SDL_KEYUP, code)), Outcome::Dismissed) << code;
  }
  // Other keys are the box's but close nothing.
  MessageBoxInput input(kBox, kButton);
  EXPECT_EQ(input.Handle(Key(SDL_KEYDOWN, SDLK_z)), Outcome::Taken);
  EXPECT_EQ(input.Handle(Key(SDL_KEYUP, SDLK_z)), Outcome::Taken);
}

TEST(MessageBoxInput, AKeyHeldSinceBeforeTheBoxDoesNotCloseIt) {
  MessageBoxInput input(kBox, kButton);
  // Return was down when the box came up: its repeats and release close nothing.
  EXPECT_EQ(input.Handle(Key(SDL_KEYDOWN, SDLK_RETURN, 1)), Outcome::Taken);
  EXPECT_EQ(input.Handle(Key(SDL_KEYUP, SDLK_RETURN)), Outcome::Taken);
  // Nor does letting go of one key after pressing another.
  EXPECT_EQ(input.Handle(Key(SDL_KEYDOWN, SDLK_SPACE)), Outcome::Taken);
  EXPECT_EQ(input.Handle(Key(SDL_KEYUP, SDLK_ESCAPE)), Outcome::Taken);
  EXPECT_EQ(input.Handle(Key(SDL_KEYUP, SDLK_SPACE)), Outcome::Dismissed);
}

TEST(MessageBoxInput, AClickClosesOnlyWhenPressAndReleaseAreOnTheButton) {
  MessageBoxInput input(kBox, kButton);
  // Pressed on the button, dragged off (it pops out) and let go outside.
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONDOWN, 80, 75)), Outcome::Redraw);
  EXPECT_TRUE(input.buttonPressed());
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEMOTION, 20, 75)), Outcome::Redraw);
  EXPECT_FALSE(input.buttonPressed());
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONUP, 20, 75)), Outcome::Redraw);
  // Pressed outside and let go on the button.
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONDOWN, 20, 75)), Outcome::Taken);
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONUP, 80, 75)), Outcome::Taken);
  // The button's last pixel, press and release.
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONDOWN, 163, 97)), Outcome::Redraw);
  EXPECT_EQ(input.Handle(Mouse(SDL_MOUSEBUTTONUP, 163, 97)), Outcome::Dismissed);
  EXPECT_FALSE(input.buttonPressed());
}

TEST(MessageBoxInput, ItsCloseBoxClosesItAndOtherWindowsEventsAreKept) {
  MessageBoxInput input(kBox, kButton);
  EXPECT_EQ(input.Handle(WindowEvent(kGame, SDL_WINDOWEVENT_CLOSE)), Outcome::Others);
  EXPECT_EQ(input.Handle(WindowEvent(kBox, SDL_WINDOWEVENT_EXPOSED)), Outcome::Redraw);
  SDL_Event drop{};
  drop.type = SDL_DROPBEGIN;
  EXPECT_EQ(input.Handle(drop), Outcome::Others);
  EXPECT_EQ(input.Handle(WindowEvent(kBox, SDL_WINDOWEVENT_CLOSE)), Outcome::Dismissed);
  // An interrupt (SIGINT becomes a quit request) closes it too.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(MessageBoxInput(kBox, kButton).Handle(quit), Outcome::Dismissed);
}

}  // namespace
}  // namespace vtrak::testing
