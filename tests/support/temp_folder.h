#pragma once
// A folder of the test's own under the temporary directory, removed with
// everything in it when the test ends: no two runs ever share a file name.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vtrak::testing {

class TempFolder {
 public:
  TempFolder() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    std::string pattern = (temp / "vtrak-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot make a folder in " + temp.string());
    }
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder.
  std::string operator/(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vtrak::testing
