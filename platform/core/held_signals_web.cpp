// A page gets no signals: nothing is held, and none ever arrives.
#include "platform/core/held_signals.h"

namespace vtrak {

HeldTerminationSignals::HeldTerminationSignals() {
  sigemptyset(&held_);
  sigemptyset(&saved_);
}

HeldTerminationSignals::~HeldTerminationSignals() = default;

int HeldTerminationSignals::Arrived() const {
  return 0;
}

}  // namespace vtrak
