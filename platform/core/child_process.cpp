#include "platform/core/child_process.h"

#include <fcntl.h>
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

}  // namespace

ChildEnd RunInChildProcess(void* result, size_t size, const std::function<void(void*)>& work) {
  ChildEnd end;
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) return end;
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
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
  const size_t arrived = ReadFully(channel[0], static_cast<uint8_t*>(result), size);
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
