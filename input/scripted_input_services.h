#pragma once
// The input services of a run with no window: the given clock, the scripted
// devices, and no message box (a scripted run has no one to answer it).
#include "input/input_state.h"
#include "platform/input/scripted_input.h"

namespace vtrak {

inline InputServices ScriptedInputServices(Clock& clock, ScriptedDevices& devices) {
  return InputServices{&clock,
                       [&devices](std::unique_ptr<DirectInput8>& directInput) {
                         return CreateScriptedDirectInput(devices, directInput);
                       },
                       nullptr};
}

}  // namespace vtrak
