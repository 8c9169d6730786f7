#include "app/requested_file_path.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vtrak {
namespace {

void CopyCut(std::string_view text, RequestedFilePath& path) {
  const size_t length = std::min(text.size(), kPathBufferSize - 1);
  std::memcpy(path, text.data(), length);
  path[length] = '\0';
}

}  // namespace

void RequestedPathFromArguments(int argc, const char* const* argv, RequestedFilePath& path) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += '"';
    commandLine += argv[i];
    commandLine += '"';
  }
  path[0] = '\0';
  if (commandLine.empty()) return;
  CopyCut(std::string_view(commandLine).substr(1), path);
  const size_t length = std::strlen(path);
  if (length > 0) path[length - 1] = '\0';
}

void StoreDroppedFile(std::string_view file, RequestedFilePath& path) {
  CopyCut(file, path);
}

}  // namespace vtrak
