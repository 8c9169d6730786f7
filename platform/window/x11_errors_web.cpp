// In the browser there is no X server, and nothing to ignore.
#include "platform/window/x11_errors.h"

namespace vtrak {

void IgnoreEventsSentToClosedWindows() {}

}  // namespace vtrak
