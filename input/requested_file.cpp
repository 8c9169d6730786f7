#include "input/requested_file.h"

#include <cstring>

namespace vtrak {

void CopyRequestedFile(char (&copy)[kRequestedFileSize], const char* path) {
  if (path == nullptr) path = "";
  const size_t length = strnlen(path, kRequestedFileSize - 1);
  std::memcpy(copy, path, length);
  copy[length] = '\0';
}

bool UpdateRequestedFile(char (&copy)[kRequestedFileSize], const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  if (std::strncmp(path, copy, kRequestedFileSize - 1) == 0) return false;
  CopyRequestedFile(copy, path);
  return true;
}

}  // namespace vtrak
