#pragma once
// The single-instance check: a per-user lock named after the window class,
// held for the life of the program. Another running copy holds it already.
// Its places depend on nothing a start can change (no environment variable):
// the user's runtime folder /run/user/UID when the system made one, and a
// private folder /tmp/vtrak-UID that the program makes 0700 when it is
// missing. The lock is taken in each of them that is a real folder (not a
// link) of the user's closed to everyone else, and another copy holds any of
// them; so a folder that another user made first, or a runtime folder that
// only some sessions have, never lets a second copy start.
#include <string>
#include <vector>

#include "platform/core/file_descriptor.h"

namespace vtrak {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const char* className);

  // True when another copy holds the lock.
  bool AnotherCopyRuns() const { return anotherCopy_; }
  // The lock file in the first place that could take it, or empty when no
  // safe place was found: the program then runs without the check and has
  // said so on stderr.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::vector<FileDescriptor> files_;
  bool anotherCopy_ = false;
};

}  // namespace vtrak
