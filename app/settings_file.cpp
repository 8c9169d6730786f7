#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/setting_values.h"
#include "platform/core/printable.h"

namespace vtrak {
namespace {

// A settings file is a few lines; anything larger is not one.
constexpr size_t kLargestFile = 64 * 1024;

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The key of a "key = value" line; empty for a blank line, a comment or a line without '='.
std::string_view KeyOf(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == '#') return {};
  const size_t equals = trimmed.find('=');
  return equals == std::string_view::npos ? std::string_view() : Trim(trimmed.substr(0, equals));
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    visit(text.substr(0, end), end != std::string_view::npos);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

// The whole file, when it is a regular file of a settings file's size.
// `missing` tells a file that is not there from one that cannot be read.
bool ReadWhole(const std::string& path, std::string& text, bool& missing, std::string& why) {
  missing = false;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    missing = errno == ENOENT || errno == ENOTDIR;
    why = std::strerror(errno);
    return false;
  }
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
            static_cast<size_t>(status.st_size) <= kLargestFile;
  why = ok ? "" : "not a regular file of at most 64 KiB";
  text.clear();
  char block[4096];
  while (ok && text.size() <= kLargestFile) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      why = std::strerror(errno);
      ok = false;
    }
    if (got <= 0) break;
    text.append(block, static_cast<size_t>(got));
  }
  close(fd);
  return ok && text.size() <= kLargestFile;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t wrote = write(fd, text.data(), text.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    text.remove_prefix(static_cast<size_t>(wrote));
  }
  return true;
}

}  // namespace

std::string SettingsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/vtrak/vtrak.conf";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/vtrak/vtrak.conf";
  return {};
}

void ParseSettings(std::string_view text, const std::string& name, LaunchOptions& options,
                   std::FILE* errors) {
  int number = 0;
  ForEachLine(text, [&](std::string_view line, bool) {
    ++number;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return;
    const size_t equals = trimmed.find('=');
    std::string why = "not a 'key = value' line";
    if (equals != std::string_view::npos &&
        ApplySetting(Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1)), options,
                     why)) {
      return;
    }
    std::fprintf(errors, "vtrak: %s:%d: %s; line ignored\n", Printable(name).c_str(), number,
                 Printable(why).c_str());
  });
}

bool ReadSettingsFile(const std::string& path, LaunchOptions& options, std::FILE* errors) {
  std::string text, why;
  bool missing = false;
  if (!ReadWhole(path, text, missing, why)) {
    if (missing) return true;
    std::fprintf(errors, "vtrak: cannot read the settings in %s (%s); the defaults hold\n",
                 Printable(path).c_str(), why.c_str());
    return false;
  }
  ParseSettings(text, path, options, errors);
  return true;
}

std::string WithSetting(std::string_view text, std::string_view key, std::string_view value) {
  std::string result;
  bool found = false;
  ForEachLine(text, [&](std::string_view line, bool ended) {
    if (KeyOf(line) == key) {
      found = true;
      result.append(key).append(" = ").append(value);
      if (!line.empty() && line.back() == '\r') result += '\r';
    } else {
      result.append(line);
    }
    if (ended) result += '\n';
  });
  if (!found) {
    if (!result.empty() && result.back() != '\n') result += '\n';
    result.append(key).append(" = ").append(value).append("\n");
  }
  return result;
}

bool SaveSetting(const std::string& path, std::string_view key, std::string_view value,
                 std::string& why) {
  namespace fs = std::filesystem;
  std::error_code error;
  // Through a link (a dotfiles folder, say), the file it names is the one rewritten.
  fs::path target = path;
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    target = fs::weakly_canonical(target, error);
  }
  if (error && error != std::errc::no_such_file_or_directory) {
    why = error.message();
    return false;
  }
  std::string text;
  bool missing = false;
  if (!ReadWhole(target, text, missing, why)) {
    if (!missing) return false;
    text.clear();
  }
  fs::create_directories(target.parent_path(), error);
  if (error) {
    why = "cannot make " + target.parent_path().string() + ": " + error.message();
    return false;
  }
  std::string temporary = target.string() + ".XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  temporary = name.data();
  struct stat status {};
  if (!missing && stat(target.c_str(), &status) == 0) fchmod(fd, status.st_mode & 07777);
  const bool written = WriteAll(fd, WithSetting(text, key, value)) && fsync(fd) == 0;
  why = written ? "" : std::strerror(errno);
  if (close(fd) != 0 && written) why = std::strerror(errno);
  if (why.empty() && rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (why.empty()) why = std::strerror(errno);
  unlink(temporary.c_str());
  return false;
}

}  // namespace vtrak
