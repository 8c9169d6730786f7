// A page can start no process. Only a conversion of an Ogg Vorbis sound runs
// work in a child, and the game in the browser converts none; a call reports
// that no child could be made, and the conversion fails with that reason.
#include <cerrno>

#include "platform/core/child_process.h"

namespace vtrak {

ChildEnd RunInChildProcess(void*, size_t, const std::function<void(void*)>&) {
  ChildEnd end;
  end.startError = ENOSYS;
  return end;
}

}  // namespace vtrak
