#pragma once
// The single-instance check: a per-user lock named after the window class,
// held for the life of the program. Another running copy holds it already.
#include <string>

namespace vtrak {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const char* className);
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // True when another copy holds the lock.
  bool AnotherCopyRuns() const { return anotherCopy_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool anotherCopy_ = false;
};

}  // namespace vtrak
