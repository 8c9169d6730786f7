// The millisecond clock in the browser. A page cannot read the time since the
// machine started; the wall clock in milliseconds, cut to 32 bits, runs on as
// steadily within a page's life and, like the time since boot, differs from
// one start to the next, so each start seeds the game differently.
#include <emscripten.h>

#include <cmath>

#include "platform/core/clock.h"

namespace vtrak {
namespace {

EM_JS(double, PageMilliseconds, (), { return performance.timeOrigin + performance.now(); });

}  // namespace

uint32_t SystemClock::timeGetTime() {
  return static_cast<uint32_t>(std::fmod(std::floor(PageMilliseconds()), 4294967296.0));
}

}  // namespace vtrak
