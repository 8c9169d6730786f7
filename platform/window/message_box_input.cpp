#include "platform/window/message_box_input.h"

namespace vtrak {

MessageBoxInput::Outcome MessageBoxInput::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:  // an interrupt or the session ending
      return Outcome::Dismissed;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return HandleKey(event.key);
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEWHEEL:
      return Outcome::Taken;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return HandleMouse(event);
    case SDL_WINDOWEVENT:
      if (event.window.windowID != windowId_) return Outcome::Others;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          return Outcome::Dismissed;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
          return Outcome::Redraw;
        default:
          return Outcome::Taken;
      }
    default:
      return Outcome::Others;
  }
}

// A key closes the box when it is let go after going down in the box: a key
// held since before the box came up, or repeating, does not.
MessageBoxInput::Outcome MessageBoxInput::HandleKey(const SDL_KeyboardEvent& key) {
  const SDL_Keycode code = key.keysym.sym;
  const bool closing =
      code == SDLK_RETURN || code == SDLK_KP_ENTER || code == SDLK_SPACE || code == SDLK_ESCAPE;
  if (key.type == SDL_KEYDOWN) {
    if (closing && key.repeat == 0) heldKey_ = code;
    return Outcome::Taken;
  }
  if (!closing || code != heldKey_) return Outcome::Taken;
  return Outcome::Dismissed;
}

MessageBoxInput::Outcome MessageBoxInput::HandleMouse(const SDL_Event& event) {
  if (event.type == SDL_MOUSEMOTION) {
    if (!tracking_ || event.motion.windowID != windowId_) return Outcome::Taken;
    const bool on = button_.Contains(event.motion.x, event.motion.y);
    if (on == pointerOnButton_) return Outcome::Taken;
    pointerOnButton_ = on;
    return Outcome::Redraw;
  }
  const SDL_MouseButtonEvent& press = event.button;
  if (press.button != SDL_BUTTON_LEFT) return Outcome::Taken;
  const bool on = press.windowID == windowId_ && button_.Contains(press.x, press.y);
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    if (!on) return Outcome::Taken;
    tracking_ = pointerOnButton_ = true;
    return Outcome::Redraw;
  }
  // A click is a press and a release both on the button.
  if (!tracking_) return Outcome::Taken;
  tracking_ = false;
  return on ? Outcome::Dismissed : Outcome::Redraw;
}

}  // namespace vtrak
