#pragma once
// What the message box makes of each SDL event while it is up: a press of
// Return, Space or Escape, a click on its button and its window's close box
// dismiss it; other keys and mouse input are its own; other windows' events
// are not.
#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/window/message_box_drawing.h"

namespace vtrak {

class MessageBoxInput {
 public:
  enum class Outcome {
    Others,     // another window's event: kept for its owner
    Taken,      // the box's, with nothing to show
    Redraw,     // the box's picture must be shown again
    Dismissed,  // the box is closed
  };

  MessageBoxInput(uint32_t windowId, const BoxRect& button)
      : windowId_(windowId), button_(button) {}

  Outcome Handle(const SDL_Event& event);
  // The button is shown pushed in: held down by the mouse with the pointer on it.
  bool buttonPressed() const { return tracking_ && pointerOnButton_; }

 private:
  Outcome HandleKey(const SDL_KeyboardEvent& key);
  Outcome HandleMouse(const SDL_Event& event);

  uint32_t windowId_;
  BoxRect button_;
  bool tracking_ = false;  // the left button went down on the OK button and is held
  bool pointerOnButton_ = false;
  SDL_Keycode heldKey_ = SDLK_UNKNOWN;  // a closing key that went down in the box
};

}  // namespace vtrak
