// The single-instance check in the browser. The page asks for a Web Lock named
// after the window class before it starts the program, and holds it for as
// long as it is open; a second tab of the same page finds it taken. The lock
// is per origin and per browser profile, which in a browser is the user.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "platform/window/single_instance.h"

namespace vtrak {
namespace {

// What the page found: 1 it holds the lock, 0 another tab does, -1 the browser
// offers no Web Locks (an old one, or a page not served over https).
EM_JS(int, PageLockState, (const char* name), {
  const state = Module['vtrakLocks'] && Module['vtrakLocks'][UTF8ToString(name)];
  return state == 'held' ? 1 : state == 'taken' ? 0 : -1;
});

}  // namespace

SingleInstanceLock::SingleInstanceLock(const char* className) {
  switch (PageLockState(className)) {
    case 1:
      path_ = std::string("Web Lock ") + className;
      break;
    case 0:
      path_ = std::string("Web Lock ") + className;
      anotherCopy_ = true;
      break;
    default:
      std::fputs(
          "vtrak: this browser offers the page no Web Locks (serve it over https); "
          "running without the check for another copy\n",
          stderr);
      break;
  }
}

}  // namespace vtrak
