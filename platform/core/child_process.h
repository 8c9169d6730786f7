#pragma once
// Work done in a child process, so that a crash in it (a library fed a
// hostile file) ends only the child. The child shares the parent's open
// files but none of its memory; what it produces comes back through a pipe.
#include <cstddef>
#include <functional>
#include <type_traits>

namespace vtrak {

struct ChildEnd {
  bool started = false;   // the child process could be made
  bool returned = false;  // `work` returned and its result arrived whole
  int signal = 0;         // the signal that ended the child, or 0
  int exitStatus = 0;     // its exit status when it exited otherwise
};

// Runs `work` in a child process; `work` fills the `size` bytes at `result`,
// which are then copied back here. Waits for the child to end. In the child,
// crash signals take their default action (they end it, whatever handlers
// this process has), an over-large write fails instead of killing it, and
// it dies with this process.
ChildEnd RunInChildProcess(void* result, size_t size, const std::function<void(void*)>& work);

template <typename Result>
ChildEnd RunInChildProcess(Result& result, const std::function<void(Result&)>& work) {
  static_assert(std::is_trivially_copyable_v<Result>);
  return RunInChildProcess(&result, sizeof result,
                           [&work](void* into) { work(*static_cast<Result*>(into)); });
}

}  // namespace vtrak
