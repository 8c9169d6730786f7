#pragma once
// An InputState over scripted devices and a scripted clock.
#include <string>
#include <vector>

#include "input/input_state.h"
#include "platform/input/scripted_input.h"

namespace vtrak {

struct InputFixture {
  explicit InputFixture(uint32_t start = 10000) : clock(start), state(clock) {}

  HRESULT Init(const char* requestedFile = "") {
    InputServices services{&clock,
                           [this](std::unique_ptr<DirectInput8>& di) {
                             return CreateScriptedDirectInput(devices, di);
                           },
                           [this](const char* text) {
                             messages.emplace_back(text);
                             devices.calls.emplace_back("MessageBox");
                           }};
    return InitInput(state, requestedFile, nullptr, services);
  }
  void Poll(const char* requestedFile = "") { PollInput(state, requestedFile, clock); }
  bool Pressed(int key) const {
    return (state.keyState[key] & 0x80) != 0 && state.keyHoldFrames[key] == 1;
  }

  ScriptedDevices devices;
  ScriptedClock clock;
  InputState state;
  std::vector<std::string> messages;
};

}  // namespace vtrak
