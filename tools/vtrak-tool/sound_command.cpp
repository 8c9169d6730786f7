#include <cstdio>

#include "tools/vtrak-tool/commands.h"

namespace vtrak::tool {

int RunSoundCommand(int, char**) {
  std::fputs("error: sound loading is not part of this build yet\n", stderr);
  return 1;
}

}  // namespace vtrak::tool
