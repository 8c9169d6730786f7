// vtrak-tool message TEXT: the game's message box with any text, on the
// display, as the game shows it; ends with 0 once it is closed.
#include <cstdio>
#include <string>

#include "platform/window/message_box.h"
#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {

int RunMessageCommand(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("vtrak-tool: message takes exactly one TEXT\n", stderr);
    return 1;
  }
  std::string whyNot;
  if (!ShowMessageBox(argv[0], &whyNot)) {
    std::fprintf(stderr, "vtrak-tool: cannot show the message box: %s\n", whyNot.c_str());
    return 1;
  }
  return 0;
}

}  // namespace vtrak::tool
