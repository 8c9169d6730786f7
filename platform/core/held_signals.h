#pragma once
// Signals that would end the process (Ctrl-C, SIGTERM, SIGHUP and the like),
// held back while work that must clean up after itself runs. Only those left
// at their default action are held: an ignored signal stays ignored, and
// one the program handles reaches its handler as ever. When the holder goes,
// a held signal that arrived takes effect, and the process ends then.
#include <signal.h>

namespace vtrak {

class HeldTerminationSignals {
 public:
  HeldTerminationSignals();
  ~HeldTerminationSignals();
  HeldTerminationSignals(const HeldTerminationSignals&) = delete;
  HeldTerminationSignals& operator=(const HeldTerminationSignals&) = delete;

  // Readable once a held signal has arrived; -1 when none can be watched so.
  int fd() const { return fd_; }
  // The first held signal that has arrived, or 0.
  int Arrived() const;

 private:
  sigset_t held_{};
  sigset_t saved_{};
  int fd_ = -1;
};

}  // namespace vtrak
