#pragma once
// The single-instance check: a per-user lock named after the window class,
// held for the life of the program. Another running copy holds it already.
// The lock lives in $XDG_RUNTIME_DIR when that is a private folder of the
// user's, else in a private folder the program makes for the user in the
// temp folder ($TMPDIR, else /tmp), as tmux does. Neither is ever reached
// through a link, and a folder or file that is not the user's own is never
// used, so no other user can hold the lock or redirect it.
#include <string>

#include "platform/core/file_descriptor.h"

namespace vtrak {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const char* className);

  // True when another copy holds the lock.
  bool AnotherCopyRuns() const { return anotherCopy_; }
  // The lock file, or empty when no safe place was found: the program then
  // runs without the check and has said so on stderr.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  FileDescriptor file_;
  bool anotherCopy_ = false;
};

}  // namespace vtrak
