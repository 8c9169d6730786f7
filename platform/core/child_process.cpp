#include "platform/core/child_process.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

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

enum class Wake { Ended, Stop, Refused };

// Drains `stream` until the child closes it (it ends, or it is done with
// it), or until `stopFd` is readable or the stream's reader refuses.
Wake AwaitChild(int stream, const std::function<StreamState(int)>& drain, int stopFd) {
  for (;;) {
    pollfd waits[2] = {{stream, POLLIN, 0}, {stopFd, POLLIN, 0}};  // -1 is passed over
    const int ready = poll(waits, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Wake::Ended;
    if (waits[0].revents != 0) {
      switch (drain(stream)) {
        case StreamState::Open:
          continue;
        case StreamState::Ended:
          return Wake::Ended;
        case StreamState::Refused:
          return Wake::Refused;
      }
    }
    if (waits[1].revents != 0) return Wake::Stop;
  }
}

// The child's result crosses in memory both processes share: that costs no
// descriptor, and the one stream serves the child's words and as the sign of
// its end.
struct SharedResult {
  explicit SharedResult(size_t size)
      : bytes_(sizeof(bool) + size),
        memory_(mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0)) {}
  ~SharedResult() {
    if (ok()) munmap(memory_, bytes_);
  }
  SharedResult(const SharedResult&) = delete;
  SharedResult& operator=(const SharedResult&) = delete;
  bool ok() const { return memory_ != MAP_FAILED; }
  bool& complete() const { return *static_cast<bool*>(memory_); }
  uint8_t* result() const { return static_cast<uint8_t*>(memory_) + sizeof(bool); }

 private:
  size_t bytes_;
  void* memory_;
};

}  // namespace

ChildEnd RunStreamingChild(void* result, size_t size,
                           const std::function<void(void*, int streamFd)>& work,
                           const std::function<StreamState(int streamFd)>& drain, int stopFd) {
  ChildEnd end;
  const SharedResult shared(size);
  if (!shared.ok()) {
    end.startError = errno;
    return end;
  }
  // A stream both ways: the child writes to its end, and may read what
  // this process writes back.
  int stream[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stream) != 0) {
    end.startError = errno;
    return end;
  }
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
    end.startError = errno;
    close(stream[0]);
    close(stream[1]);
    return end;
  }
  if (child == 0) {
    // _exit throughout: the parent's buffers and exit handlers are its own.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    close(stream[0]);
    ResetSignalsForChild();
    work(result, stream[1]);
    std::memcpy(shared.result(), result, size);
    shared.complete() = true;
    _exit(0);
  }
  end.started = true;
  close(stream[1]);
  switch (AwaitChild(stream[0], drain, stopFd)) {
    case Wake::Ended:
      break;
    case Wake::Stop:
      kill(child, SIGKILL);
      end.stopped = true;
      break;
    case Wake::Refused:
      kill(child, SIGKILL);
      end.refused = true;
      break;
  }
  close(stream[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return end;
  }
  if (WIFSIGNALED(status)) end.signal = WTERMSIG(status);
  if (WIFEXITED(status)) end.exitStatus = WEXITSTATUS(status);
  end.returned = WIFEXITED(status) && end.exitStatus == 0 && shared.complete();
  if (end.returned) std::memcpy(result, shared.result(), size);
  return end;
}

}  // namespace vtrak
