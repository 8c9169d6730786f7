#include "app/program_directory.h"

#include <unistd.h>

#include <filesystem>

namespace vtrak {

bool EnterProgramDirectory() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return false;
  std::filesystem::current_path(program.parent_path(), error);
  return !error;
}

}  // namespace vtrak
