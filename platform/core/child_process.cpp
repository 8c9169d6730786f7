#include "platform/core/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/core/file_descriptor.h"

namespace vtrak {
namespace {

void ResetSignalsForChild() {
  for (const int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS}) {
    std::signal(crash, SIG_DFL);
  }
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit is a failed write, not a death
  sigset_t all;
  sigfillset(&all);
  sigprocmask(SIG_UNBLOCK, &all, nullptr);
}

// Waits until the child's end of `channel` is readable (its result, or its
// end), or `stopFd` is; false for the latter.
bool AwaitChild(int channel, int stopFd) {
  pollfd waits[2] = {{channel, POLLIN, 0}, {stopFd, POLLIN, 0}};
  for (;;) {
    const int ready = poll(waits, stopFd >= 0 ? 2 : 1, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || waits[0].revents != 0) return true;
    if (waits[1].revents != 0) return false;
  }
}

}  // namespace

ChildEnd RunInChildProcess(void* result, size_t size, const std::function<void(void*)>& work,
                           int stopFd) {
  ChildEnd end;
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) {
    end.startError = errno;
    return end;
  }
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
    end.startError = errno;
    close(channel[0]);
    close(channel[1]);
    return end;
  }
  if (child == 0) {
    // _exit throughout: the parent's buffers and exit handlers are its own.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    close(channel[0]);
    ResetSignalsForChild();
    work(result);
    _exit(WriteFully(channel[1], static_cast<const uint8_t*>(result), size) ? 0 : 126);
  }
  end.started = true;
  close(channel[1]);
  size_t arrived = 0;
  if (AwaitChild(channel[0], stopFd)) {
    arrived = ReadFully(channel[0], static_cast<uint8_t*>(result), size);
  } else {
    kill(child, SIGKILL);
    end.stopped = true;
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return end;
  }
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
  end.returned = WIFEXITED(status) && end.exitStatus == 0 && arrived == size;
  return end;
}

}  // namespace vtrak
