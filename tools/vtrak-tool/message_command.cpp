// vtrak-tool message TEXT: the game's message box with any text, on the
// display, as the game shows it; ends with 0 once it is closed.
#include <cstdio>

#include "platform/window/message_box.h"
#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {

int RunMessageCommand(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("vtrak-tool: message takes exactly one TEXT\n", stderr);
    return 1;
  }
  if (!ShowMessageBox(argv[0])) {
    std::fputs(
        "vtrak-tool: cannot show the message box: start it in a desktop session with the "
        "IPA Gothic font (fonts-ipafont-gothic) installed\n",
        stderr);
    return 1;
  }
  return 0;
}

}  // namespace vtrak::tool
