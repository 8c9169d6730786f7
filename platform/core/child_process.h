#pragma once
// Work done in a child process, so that a crash in it (a library fed a
// hostile file) ends only the child. The child shares the parent's open
// files; its result comes back through a page of memory shared with it.
#include <csignal>
#include <cstddef>
#include <functional>

namespace vtrak {

struct ChildEnd {
  bool started = false;   // the child process could be made
  int startError = 0;     // the errno of the shared page or of fork when it could not
  bool returned = false;  // `work` returned and the child handed its result over
  int signal = 0;         // the signal that ended the child, or 0
  int exitStatus = 0;     // its exit status when it exited otherwise
};

// The signals that a fault of a process itself raises.
inline constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};
constexpr bool IsCrashSignal(int signal) {
  for (const int crash : kCrashSignals) {
    if (signal == crash) return true;
  }
  return false;
}

// Runs `work` in a child process and waits for it to end; `work` fills the
// `size` bytes at `result`, which are then copied back here. Refused
// (EDEADLK) while this process runs other threads: fork copies only the
// calling one, and a lock another held (the heap's) would never be let go
// in the child. In the child, crash signals take their default action (they
// end it, whatever handlers this process has), an over-large write fails
// instead of killing it, and it dies with this process.
ChildEnd RunInChildProcess(void* result, size_t size, const std::function<void(void*)>& work);

}  // namespace vtrak
