#include "platform/window/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace vtrak {
namespace {

std::string LockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') return runtime;
  std::error_code error;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  return error ? std::string("/tmp") : temp.string();
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const char* className) {
  // Outside the per-user runtime folder the name carries the user id.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const bool perUserFolder = runtime != nullptr && runtime[0] != '\0';
  path_ = LockFolder();
  path_.append("/").append(className);
  if (!perUserFolder) path_.append("-").append(std::to_string(getuid()));
  path_.append(".lock");
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;  // no lock file can be made: nothing to compare with, run alone
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    anotherCopy_ = errno == EWOULDBLOCK;
    break;
  }
}

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace vtrak
