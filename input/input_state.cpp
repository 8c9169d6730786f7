#include "input/input_state.h"

namespace vtrak {

InputState::InputState(Clock& clock) : secondStart(clock.timeGetTime() + 1000u) {}

void ReleaseInput(InputState& state) {
  state.directInput.reset();
  state.joystick.reset();
  state.keyboard.reset();
  state.mouse.reset();
}

}  // namespace vtrak
