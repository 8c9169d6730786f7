#include "platform/window/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <mutex>

namespace vtrak {
namespace {

// Xlib keeps one error handler for the whole process and passes it no context
// of ours, so the handler it replaced has to be kept beside it. Xlib never
// hands back a null one: with none set, it is Xlib's default.
XErrorHandler replacedHandler = nullptr;

int HandleXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return replacedHandler(display, error);
}

}  // namespace

void IgnoreEventsSentToClosedWindows() {
  // Once per process: a second look at the handler in place could find SDL's,
  // which forwards to ours, and the two would then call each other forever.
  static std::once_flag installed;
  std::call_once(installed, [] { replacedHandler = XSetErrorHandler(HandleXError); });
}

}  // namespace vtrak
