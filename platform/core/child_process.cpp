#include "platform/core/child_process.h"

#include <dirent.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>

namespace vtrak {
namespace {

void ResetSignalsForChild() {
  for (const int crash : kCrashSignals) std::signal(crash, SIG_DFL);
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit is a failed write, not a death
  sigset_t all;
  sigfillset(&all);
  sigprocmask(SIG_UNBLOCK, &all, nullptr);
}

// False when the process runs a thread besides the caller (its tasks, "."
// and ".." aside); true when that cannot be seen.
bool OnlyThread() {
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return true;
  int entries = 0;
  while (readdir(tasks) != nullptr) ++entries;
  closedir(tasks);
  return entries <= 3;
}

}  // namespace

ChildEnd RunInChildProcess(void* result, size_t size, const std::function<void(void*)>& work) {
  ChildEnd end;
  if (!OnlyThread()) {
    end.startError = EDEADLK;
    return end;
  }
  // The flag that the child returned, then its result.
  const size_t bytes = sizeof(bool) + size;
  void* const shared =
      mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) {
    end.startError = errno;
    return end;
  }
  auto* const returned = static_cast<bool*>(shared);
  uint8_t* const copied = static_cast<uint8_t*>(shared) + sizeof(bool);
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child == 0) {
    // _exit: the parent's buffers and exit handlers are its own.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    ResetSignalsForChild();
    work(result);
    std::memcpy(copied, result, size);
    *returned = true;
    _exit(0);
  }
  end.startError = child < 0 ? errno : 0;
  end.started = child > 0;
  int status = 0;
  while (end.started && waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
  end.returned = end.started && WIFEXITED(status) && end.exitStatus == 0 && *returned;
  if (end.returned) std::memcpy(result, copied, size);
  munmap(shared, bytes);
  return end;
}

}  // namespace vtrak
