#pragma once
// The settings file, $XDG_CONFIG_HOME/vtrak/vtrak.conf (else
// ~/.config/vtrak/vtrak.conf): one "key = value" a line, blank lines and lines
// starting with '#' left alone. A bad line is named and ignored; a change made
// in the game rewrites only its own key's lines and keeps every other line.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/launch_options.h"

namespace vtrak {

// The file's path; empty when neither XDG_CONFIG_HOME (absolute) nor HOME is set.
std::string SettingsFilePath();

// Takes each good line of `text` into `options`; says on `errors`, for each bad
// one, "vtrak: NAME:LINE: why; line ignored". A UTF-8 byte order mark at the
// start is passed over; a UTF-16 text is named and read as holding nothing.
void ParseSettings(std::string_view text, const std::string& name, LaunchOptions& options,
                   std::FILE* errors);

// Reads the file at `path` (a missing one holds no settings). False, said on
// `errors`, when it is there but cannot be read: it is then never rewritten.
bool ReadSettingsFile(const std::string& path, LaunchOptions& options, std::FILE* errors);

// `text` with every line of `key` set to `value`, or the line added at the end.
std::string WithSetting(std::string_view text, std::string_view key, std::string_view value);

// Sets `key` in the file at `path` as WithSetting does, writing a new file
// beside it, with the old one's owner, group, mode and extended attributes,
// that replaces it by rename only when whole (through links, the file they
// name, made when it is not there yet). False, with the reason in `why`, leaves the file as it was:
// so do a file without write permission, one with other names (hard links)
// and a change that would take it past what ReadSettingsFile reads.
bool SaveSetting(const std::string& path, std::string_view key, std::string_view value,
                 std::string& why);

}  // namespace vtrak
