#include "app/extended_attributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vtrak {

bool TakeExtendedAttributes(int fd, const std::string& old, std::string& why) {
  std::vector<char> names(
      static_cast<size_t>(std::max<ssize_t>(0, listxattr(old.c_str(), nullptr, 0))));
  const ssize_t length = listxattr(old.c_str(), names.data(), names.size());
  std::string failed = length < 0 && errno != ENOTSUP ? std::strerror(errno) : "";
  for (size_t at = 0; length > 0 && at < static_cast<size_t>(length);
       at += std::strlen(&names[at]) + 1) {
    const char* name = &names[at];
    std::vector<char> value(
        static_cast<size_t>(std::max<ssize_t>(0, getxattr(old.c_str(), name, nullptr, 0))));
    const ssize_t size = getxattr(old.c_str(), name, value.data(), value.size());
    std::vector<char> now(value.size() + 1);
    // One the new file has already (a security label), it keeps as it is.
    if (size < 0 || (fgetxattr(fd, name, now.data(), now.size()) == size &&
                     std::equal(value.begin(), value.begin() + size, now.begin()))) {
      continue;
    }
    if (fsetxattr(fd, name, value.data(), static_cast<size_t>(size), 0) != 0) {
      failed = std::string(name) + ": " + std::strerror(errno);
    }
  }
  if (failed.empty()) return true;
  why = "cannot give the new file the extended attributes of the old one (" + failed + ")";
  return false;
}

}  // namespace vtrak
