#include "platform/core/file_descriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vtrak {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

bool FileDescriptor::Close() {
  // Linux releases the descriptor even when close reports an error: never retry.
  return fd_ < 0 || close(Release()) == 0;
}

FileDescriptor OpenRegularFile(const char* path, int& error, bool& notRegular,
                               struct stat* status) {
  error = 0;
  notRegular = false;
  FileDescriptor file(open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat opened = {};
  if (!file || fstat(file.get(), &opened) != 0) {
    error = errno;
    return {};
  }
  if (!S_ISREG(opened.st_mode)) {
    notRegular = true;
    return {};
  }
  if (status != nullptr) *status = opened;
  return file;
}

size_t ReadFully(int fd, uint8_t* into, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, into + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool WriteFully(int fd, const uint8_t* from, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t put = write(fd, from + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace vtrak
