#pragma once
// One setting by name and value, as the settings file and the command line
// both give it.
#include <string>
#include <string_view>

#include "app/launch_options.h"

namespace vtrak {

// Stores `value` for `key` ("scale", "fullscreen" or "rate") in `options`.
// On an unknown key or a value out of its range, leaves `options` as it was,
// puts the reason in `why` and returns false.
bool ApplySetting(std::string_view key, std::string_view value, LaunchOptions& options,
                  std::string& why);

// `over`'s fields where set, else `base`'s: the command line over the file.
LaunchOptions Overlay(const LaunchOptions& base, const LaunchOptions& over);

}  // namespace vtrak
