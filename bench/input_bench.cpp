// The cost of one PollInput: over the SDL devices on the dummy video driver
// (as the game sets them up; the window has no focus there, so the keyboard is
// asked to acquire and refuses), the SDL keyboard read alone, and over the
// scripted devices.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "input/input_state.h"
#include "platform/input/scripted_input.h"
#include "platform/input/sdl_input.h"
#include "platform/window/window.h"

namespace vtrak {
namespace {

struct SdlSession {
  SdlSession() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ok = SDL_Init(SDL_INIT_VIDEO) == 0;
    if (ok) window = Window::Create("dolk", "V-TRAK");
  }
  ~SdlSession() {
    window.reset();
    SDL_Quit();
  }
  bool ok = false;
  std::unique_ptr<Window> window;
};

void BM_PollInputSdl(benchmark::State& bench) {
  SdlSession sdl;
  if (!sdl.window) {
    bench.SkipWithError("SDL dummy video did not start");
    return;
  }
  SystemClock clock;
  InputState state(clock);
  InputServices services{&clock, CreateSdlDirectInput, [](const char*) {}};
  if (Failed(InitInput(state, "", sdl.window.get(), services))) {
    bench.SkipWithError("InitInput failed");
    return;
  }
  for (auto _ : bench) {
    PollInput(state, "", clock);
    benchmark::DoNotOptimize(state.keyHoldFrames);
  }
  ReleaseInput(state);
}
BENCHMARK(BM_PollInputSdl);

void BM_SdlKeyboardRead(benchmark::State& bench) {
  SdlSession sdl;
  std::unique_ptr<DirectInput8> directInput;
  std::unique_ptr<DirectInputDevice8> keyboard;
  if (!sdl.window || Failed(CreateSdlDirectInput(directInput)) ||
      Failed(directInput->CreateDevice(Guid{DeviceGuid::SysKeyboard}, keyboard)) ||
      Failed(keyboard->SetDataFormat(DataFormat::Keyboard)) ||
      Failed(keyboard->SetCooperativeLevel(sdl.window.get(), DISCL_NONEXCLUSIVE)) ||
      Failed(keyboard->Acquire())) {
    bench.SkipWithError("SDL keyboard unavailable");
    return;
  }
  uint8_t keys[256];
  for (auto _ : bench) {
    keyboard->Acquire();
    keyboard->GetDeviceState(sizeof(keys), keys);
    benchmark::DoNotOptimize(keys);
  }
}
BENCHMARK(BM_SdlKeyboardRead);

void BM_PollInputScripted(benchmark::State& bench) {
  ScriptedDevices devices;
  devices.recordCalls = false;
  devices.joysticks.resize(1);
  ScriptedClock clock(1000);
  clock.advancePerRead = 16;
  InputState state(clock);
  InputServices services{
      &clock,
      [&](std::unique_ptr<DirectInput8>& di) { return CreateScriptedDirectInput(devices, di); },
      [](const char*) {}};
  if (Failed(InitInput(state, "", nullptr, services))) {
    bench.SkipWithError("InitInput failed");
    return;
  }
  for (auto _ : bench) {
    devices.keys[DIK_Z] ^= 0x80;
    PollInput(state, "", clock);
    benchmark::DoNotOptimize(state.keyHoldFrames);
  }
}
BENCHMARK(BM_PollInputScripted);

}  // namespace
}  // namespace vtrak

BENCHMARK_MAIN();
