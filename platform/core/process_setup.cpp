#include "platform/core/process_setup.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace vtrak {

void SettleProcessStart() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor, so `fd` itself: the ones below are open.
    // Open the wrong way round, so that output written to a closed stream
    // still fails (EBADF) and is reported, as it would have been.
    const int opened = open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
    if (opened > fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
  std::signal(SIGCHLD, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGXFSZ, SIG_IGN);
  std::signal(SIGPIPE, SIG_IGN);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

bool CloseStandardOutput(const char* program) {
  const bool failed = std::ferror(stdout) != 0;
  errno = 0;
  const bool closed = std::fclose(stdout) == 0;
  if (!failed && closed) return true;
  // A write error seen before the close left no errno behind: the usual
  // causes are a full disk and a closed pipe, which the close then names.
  std::fprintf(stderr, "%s: writing standard output failed%s%s\n", program, errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

}  // namespace vtrak
