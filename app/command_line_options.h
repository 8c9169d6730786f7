#pragma once
// The options that come before the requested-file path on the game's command
// line: --scale N, --fullscreen, --windowed, --rate HZ, --record FILE,
// --replay FILE and --run N (a value also as --scale=N). The first argument that is none of them
// starts the path, and
// "--" ends the options, so a path that starts with "--" is given after it.
#include <string>

#include "app/launch_options.h"

namespace vtrak {

struct CommandLine {
  LaunchOptions options;
  RunFiles runs;
  int pathStart = 1;  // index of the path's first argument in argv; argc when none
};

// False, with the one-line reason in `why`, when an option lacks its value or
// its value is out of range, and when --run comes without --replay.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine& commandLine,
                      std::string& why);

}  // namespace vtrak
