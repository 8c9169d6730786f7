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
    // --scale N, --scale=N, --rate HZ, --rate=HZ
    const std::string_view name = argument.substr(0, argument.find('='));
    if (name != "--scale" && name != "--rate") break;  // the path starts here
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
    if (!ApplySetting(key, value, commandLine.options, why)) {
      why = "--" + why;
      return false;
    }
  }
  commandLine.pathStart = i;
  return true;
}

}  // namespace vtrak
