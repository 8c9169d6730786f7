#include "platform/window/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vtrak {
namespace {

// `status` belongs to this user, and no one else may enter or change it.
bool OwnAndClosed(const struct stat& status) {
  return status.st_uid == geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// The lock file `name` in the folder at `path`, opened, when the folder is a
// real folder (not a link) of this user's that is closed to everyone else and
// the file is a regular file of this user's; else an empty descriptor and a
// reason (none when the folder is missing and `mayBeMissing`).
FileDescriptor OpenLockIn(const std::string& path, const std::string& name, bool mayBeMissing,
                          std::string& reason) {
  FileDescriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat status = {};
  if (!folder || fstat(folder.get(), &status) != 0) {
    if (errno != ENOENT || !mayBeMissing) reason = path + ": " + std::strerror(errno);
    return {};
  }
  if (!OwnAndClosed(status)) {
    reason = path + " is not a private folder of yours";
    return {};
  }
  FileDescriptor file(openat(folder.get(), name.c_str(),
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
  if (!file || fstat(file.get(), &status) != 0) {
    reason = path + "/" + name + ": " + std::strerror(errno);
    return {};
  }
  if (!S_ISREG(status.st_mode) || status.st_uid != geteuid()) {
    reason = path + "/" + name + " is not a file of yours";
    return {};
  }
  return file;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const char* className) {
  const std::string user = std::to_string(geteuid());
  const std::string runtime = "/run/user/" + user;
  const std::string own = "/tmp/vtrak-" + user;
  mkdir(own.c_str(), 0700);  // an existing one is checked like a new one
  const std::string name = std::string(className) + ".lock";
  std::string reasons;
  for (const std::string& folder : {runtime, own}) {
    std::string reason;
    // The system's runtime folder is there only while a session is.
    FileDescriptor file = OpenLockIn(folder, name, folder == runtime, reason);
    if (!file) {
      if (!reason.empty()) reasons += (reasons.empty() ? "" : "; ") + reason;
      continue;
    }
    while (flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno == EWOULDBLOCK) anotherCopy_ = true;
      break;
    }
    if (path_.empty()) path_ = folder + "/" + name;
    files_.push_back(std::move(file));
  }
  if (files_.empty()) {
    std::fprintf(stderr,
                 "vtrak: starting without the check for another running copy: %s (remove it, "
                 "or ask the system's administrator)\n",
                 reasons.c_str());
  }
}

}  // namespace vtrak
