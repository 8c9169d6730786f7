#include "app/command_line_options.h"

#include <charconv>
#include <string_view>

#include "app/setting_values.h"

namespace vtrak {
namespace {

// --record FILE, --replay FILE or --run N: the command line's own, never the settings file's.
bool ApplyRunOption(std::string_view key, std::string_view value, RunFiles& runs,
                    std::string& why) {
  if (key == "run") {
    int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || number < 1) {
      why = "--run takes a run's number in the --replay file, from 1";
      return false;
    }
    runs.run = number;
    return true;
  }
  if (value.empty()) {
    why = "--" + std::string(key) + " needs a file name, not an empty one";
    return false;
  }
  (key == "record" ? runs.record : runs.replay) = std::string(value);
  return true;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, CommandLine& commandLine,
                      std::string& why) {
  commandLine = CommandLine{};
  int i = 1;
  for (; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") {
      ++i;
      break;
    }
    if (argument == "--fullscreen" || argument == "--windowed") {
      commandLine.options.fullscreen = argument == "--fullscreen";
      continue;
    }
    // --scale N, --scale=N, --rate HZ, --rate=HZ, and the same for the runs' options
    const std::string_view name = argument.substr(0, argument.find('='));
    const bool runOption = name == "--record" || name == "--replay" || name == "--run";
    if (name != "--scale" && name != "--rate" && !runOption) break;  // the path starts here
    const std::string_view key = name.substr(2);
    std::string_view value;
    if (argument.size() > key.size() + 2) {
      value = argument.substr(key.size() + 3);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      why = "--" + std::string(key) + " needs a value";
      return false;
    }
    if (runOption) {
      if (!ApplyRunOption(key, value, commandLine.runs, why)) return false;
      continue;
    }
    if (!ApplySetting(key, value, commandLine.options, why)) {
      why = "--" + why;
      return false;
    }
  }
  commandLine.pathStart = i;
  if (commandLine.runs.run && commandLine.runs.replay.empty()) {
    why = "--run picks a run of the --replay file, which is missing";
    return false;
  }
  return true;
}

}  // namespace vtrak
