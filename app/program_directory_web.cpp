// In the browser the program's own folder is the root of the page's file
// system, where the page puts bgm.wav and the data folder.
#include <unistd.h>

#include "app/program_directory.h"

namespace vtrak {

bool EnterProgramDirectory() {
  return chdir("/") == 0;
}

}  // namespace vtrak
