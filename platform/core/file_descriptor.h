#pragma once
// Plain file descriptors: one that closes itself, and whole reads and writes
// that carry on after signals and short transfers.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>

namespace vtrak {

// A file descriptor that closes itself.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now; false (with errno set) when the close reports an error.
  bool Close();

 private:
  int fd_ = -1;
};

// The regular file at `path`, opened for reading without blocking (a FIFO's
// open would wait for a writer); an empty descriptor when it cannot be opened
// (`error` is then the errno) or is not a regular file (`notRegular` is then
// true), which is refused before a byte is read. `status`, when given, is
// the opened file's.
FileDescriptor OpenRegularFile(const char* path, int& error, bool& notRegular,
                               struct stat* status = nullptr);

// Reads up to `size` bytes, retrying after signals; stops early only at the
// end of the file or on an error.
size_t ReadFully(int fd, uint8_t* into, size_t size);

// Writes all `size` bytes, retrying after signals and short writes; false
// with errno set when the file cannot take them.
bool WriteFully(int fd, const uint8_t* from, size_t size);

}  // namespace vtrak
