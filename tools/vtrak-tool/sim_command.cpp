#include <cstdio>

#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {

int RunSimCommand(int, char**) {
  std::fputs("error: the simulator is not part of this build yet\n", stderr);
  return 1;
}

}  // namespace vtrak::tool
