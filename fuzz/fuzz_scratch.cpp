#include "fuzz/fuzz_scratch.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vtrak::fuzz {

namespace {

// The folder goes when the run ends normally; a crash leaves it for a look.
std::string& ScratchPath() {
  static std::string path;
  return path;
}
void RemoveScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchPath(), ignored);
}

}  // namespace

std::string EnterScratchFolder() {
  std::string folder = (std::filesystem::temp_directory_path() / "vtrak-fuzz-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0 || mkdir("data", 0700) != 0) {
    std::fprintf(stderr, "fuzz: cannot make a working folder in %s: %s\n",
                 std::filesystem::temp_directory_path().c_str(), std::strerror(errno));
    std::exit(1);
  }
  ScratchPath() = folder;
  std::atexit(RemoveScratchFolder);
  return folder;
}

bool WriteInput(const char* name, const unsigned char* data, size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace vtrak::fuzz
