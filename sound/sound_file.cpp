#include "sound/sound_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vtrak {

FileDescriptor OpenSoundFile(const char* path, int& error, bool& notRegular) {
  error = 0;
  notRegular = false;
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the file
  // type is then checked before anything is read.
  FileDescriptor file(open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file) {
    error = errno;
    return {};
  }
  struct stat status {};
  if (fstat(file.get(), &status) != 0) {
    error = errno;
    return {};
  }
  if (!S_ISREG(status.st_mode)) {
    notRegular = true;
    return {};
  }
  return file;
}

}  // namespace vtrak
