#include "app/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/extended_attributes.h"
#include "app/setting_values.h"
#include "platform/core/file_descriptor.h"
#include "platform/core/printable.h"

namespace vtrak {
namespace {

// A settings file is a few lines; anything larger is not one.
constexpr size_t kLargestFile = 64 * 1024;
// The mark some editors put at the start of a UTF-8 file.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Links followed at most, as the system itself does, before a loop is assumed.
constexpr int kMostLinks = 40;

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

// Each line, the byte order mark before the first taken off and kept aside.
template <typename Visit>
std::string_view ForEachLine(std::string_view text, Visit visit) {
  const std::string_view mark = text.substr(0, text.rfind(kByteOrderMark, 0) == 0 ? 3 : 0);
  text.remove_prefix(mark.size());
  while (!text.empty()) {
    const size_t end = text.find('\n');
    visit(text.substr(0, end), end != std::string_view::npos);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return mark;
}

// The whole file, when it is a regular file of a settings file's size.
// `missing` tells a file that is not there from one that cannot be read.
bool ReadWhole(const std::string& path, std::string& text, bool& missing, std::string& why,
               struct stat& status) {
  int error = 0;
  bool notRegular = false;
  const FileDescriptor file = OpenRegularFile(path.c_str(), error, notRegular, &status);
  missing = error == ENOENT || error == ENOTDIR;
  if (!file && !notRegular) {
    why = std::strerror(error);
    return false;
  }
  bool ok = file && static_cast<size_t>(status.st_size) <= kLargestFile;
  why = ok ? "" : "not a regular file of at most 64 KiB";
  text.clear();
  char block[4096];
  while (ok && text.size() <= kLargestFile) {
    const ssize_t got = read(file.get(), block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      why = std::strerror(errno);
      ok = false;
    }
    if (got <= 0) break;
    text.append(block, static_cast<size_t>(got));
  }
  return ok && text.size() <= kLargestFile;
}

// The file `path` names at the end of its links (a dotfiles folder, say), even
// when that file is not there yet.
bool FollowLinks(std::string path, std::string& target, std::string& why) {
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      target = path;
      return true;
    }
    std::error_code error;
    const std::filesystem::path named = std::filesystem::read_symlink(path, error);
    if (error) {
      why = error.message();
      return false;
    }
    path = (std::filesystem::path(path).parent_path() / named).string();
  }
  why = "too many levels of links";
  return false;
}

// Why the file at `target` is not to be replaced by a rewrite, or empty.
std::string KeptAsItIs(const std::string& target, const struct stat& status) {
  if ((status.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
    return "the file is read-only; make it writable to have the game remember";
  }
  if (status.st_nlink > 1)
    return "the file has other names (hard links), which a rewrite would lose";
  return {};
}

// Gives the new file the old one's owner, group and mode: false when it cannot.
bool TakeOwnership(int fd, const struct stat& old, std::string& why) {
  struct stat now = {};
  const bool same = fstat(fd, &now) == 0 && now.st_uid == old.st_uid && now.st_gid == old.st_gid;
  if ((same || fchown(fd, old.st_uid, old.st_gid) == 0) && fchmod(fd, old.st_mode & 07777) == 0) {
    return true;
  }
  why = std::string("cannot give the new file the owner, group and mode of the old one (") +
        std::strerror(errno) + ")";
  return false;
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
  if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0) {
    std::fprintf(errors, "vtrak: %s is in UTF-16; save it as UTF-8 for the game to read it\n",
                 Printable(name).c_str());
    return;
  }
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
  struct stat status = {};
  if (!ReadWhole(path, text, missing, why, status)) {
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
  const std::string_view mark = ForEachLine(text, [&](std::string_view line, bool ended) {
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
  return std::string(mark) + result;
}

bool SaveSetting(const std::string& path, std::string_view key, std::string_view value,
                 std::string& why) {
  std::string target, text;
  if (!FollowLinks(path, target, why)) return false;
  bool missing = false;
  struct stat status = {};
  if (!ReadWhole(target, text, missing, why, status)) {
    if (!missing) return false;
    text.clear();
  }
  if (!missing && !(why = KeptAsItIs(target, status)).empty()) return false;
  const std::string rewritten = WithSetting(text, key, value);
  if (rewritten.size() > kLargestFile) {
    why = "the file would grow past the 64 KiB the game reads";
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    why = "cannot make " + folder.string() + ": " + error.message();
    return false;
  }
  std::string temporary = target + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  bool written =
      missing || (TakeOwnership(fd, status, why) && TakeExtendedAttributes(fd, target, why));
  if (written) {
    written =
        WriteFully(fd, reinterpret_cast<const uint8_t*>(rewritten.data()), rewritten.size()) &&
        fsync(fd) == 0;
    if (!written) why = std::strerror(errno);
  }
  if (close(fd) != 0 && written) {
    why = std::strerror(errno);
    written = false;
  }
  if (written && rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (written) why = std::strerror(errno);
  unlink(temporary.c_str());
  return false;
}

}  // namespace vtrak
