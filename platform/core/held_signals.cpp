#include "platform/core/held_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <initializer_list>

namespace vtrak {

HeldTerminationSignals::HeldTerminationSignals() {
  sigemptyset(&held_);
  for (const int ending : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU,
                           SIGVTALRM, SIGPROF, SIGIO, SIGPWR}) {
    struct sigaction current {};
    if (sigaction(ending, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) == 0 &&
        current.sa_handler == SIG_DFL) {
      sigaddset(&held_, ending);
    }
  }
  sigprocmask(SIG_BLOCK, &held_, &saved_);
  fd_ = signalfd(-1, &held_, SFD_CLOEXEC | SFD_NONBLOCK);
}

HeldTerminationSignals::~HeldTerminationSignals() {
  if (fd_ >= 0) close(fd_);
  sigprocmask(SIG_SETMASK, &saved_, nullptr);
}

int HeldTerminationSignals::Arrived() const {
  sigset_t pending;
  if (sigpending(&pending) != 0) return 0;
  for (int number = 1; number < NSIG; ++number) {
    if (sigismember(&held_, number) == 1 && sigismember(&pending, number) == 1 &&
        sigismember(&saved_, number) == 0) {
      return number;
    }
  }
  return 0;
}

}  // namespace vtrak
