#include "app/command_line_options.h"

#include <string_view>

#include "app/setting_values.h"

namespace vtrak {

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
    std::string_view key;
    for (std::string_view valued : {"scale", "rate"}) {
      const std::string_view name = argument.substr(0, argument.find('='));
      if (name.size() == valued.size() + 2 && name.substr(0, 2) == "--" &&
          name.substr(2) == valued) {
        key = valued;
      }
    }
    if (key.empty()) break;  // the path starts here
    std::string_view value;
    if (argument.size() > key.size() + 2) {
      value = argument.substr(key.size() + 3);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      why = "--" + std::string(key) + " needs a value";
      return false;
    }
    if (!ApplySetting(key, value, commandLine.options, why)) {
      why = "--" + why;
      return false;
    }
  }
  commandLine.pathStart = i;
  return true;
}

}  // namespace vtrak
