#include "tools/headless/headless_game.h"

#include "app/requested_file_path.h"
#include "input/scripted_input_services.h"
#include "platform/core/crt_rand.h"

namespace vtrak {
namespace {

// No path was given on a command line or dropped on a window.
constexpr RequestedFilePath kNoRequestedFile = "";

ScriptedDevices QuietDevices() {
  ScriptedDevices devices;
  devices.recordCalls = false;  // runs are long; nothing reads the record
  return devices;
}

}  // namespace

HeadlessGame::HeadlessGame(DrawingSurface& surface, std::optional<uint32_t> seed)
    : devices(QuietDevices()),
      input(clock),
      inputSetUp(S_OK),
      game(NewGame(&surface, &input, nullptr)) {
  InputServices services = ScriptedInputServices(clock, devices);
  inputSetUp = InitInput(input, kNoRequestedFile, nullptr, services);
  if (seed) crt::srand(*seed);
}

HeadlessGame::~HeadlessGame() {
  ReleaseInput(input);
}

void HeadlessGame::Poll(bool zDown, bool xDown) {
  devices.keys[DIK_Z] = zDown ? 0x80 : 0;
  devices.keys[DIK_X] = xDown ? 0x80 : 0;
  PollInput(input, kNoRequestedFile, clock);
}

}  // namespace vtrak
