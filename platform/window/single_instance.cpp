#include "platform/window/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace vtrak {
namespace {

// `status` belongs to this user, and no one else may enter or change it.
bool OwnAndClosed(const struct stat& status) {
  return status.st_uid == geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// The folder at `path` when it is a real folder (not a link) of this user's
// that is closed to everyone else; else an empty descriptor.
FileDescriptor PrivateFolder(const std::string& path) {
  FileDescriptor folder(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat status {};
  if (!folder || fstat(folder.get(), &status) != 0 || !OwnAndClosed(status)) return {};
  return folder;
}

// The per-user folder in the temp folder, made 0700 when it is missing.
std::string TempFolderOfUser() {
  const char* temp = std::getenv("TMPDIR");
  std::string path = temp != nullptr && temp[0] == '/' ? temp : "/tmp";
  path.append("/vtrak-").append(std::to_string(geteuid()));
  mkdir(path.c_str(), 0700);  // an existing one is checked like a new one
  return path;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const char* className) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folderPath = runtime != nullptr && runtime[0] == '/' ? runtime : "";
  FileDescriptor folder = folderPath.empty() ? FileDescriptor() : PrivateFolder(folderPath);
  if (!folder) {
    folderPath = TempFolderOfUser();
    folder = PrivateFolder(folderPath);
  }
  const std::string name = std::string(className) + ".lock";
  if (folder) {
    file_ = FileDescriptor(openat(folder.get(), name.c_str(),
                                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
  }
  struct stat status {};
  if (!file_ || fstat(file_.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_uid != geteuid()) {
    std::fprintf(stderr,
                 "vtrak: %s is not a private folder of yours (or its %s is not your file); "
                 "starting without the check for another running copy: remove it, or set "
                 "XDG_RUNTIME_DIR to a folder of yours\n",
                 folderPath.c_str(), name.c_str());
    file_ = FileDescriptor();
    return;
  }
  path_ = folderPath + "/" + name;
  while (flock(file_.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    anotherCopy_ = errno == EWOULDBLOCK;
    break;
  }
}

}  // namespace vtrak
