#pragma once
// The program's entry routine: start-up, the frame loop and shutdown.
#include "app/launch_options.h"

namespace vtrak {

// `commandLine` holds the options given before the path, which win over the
// settings file's; `runs` the runs to keep or replay; argv[1] onwards is the
// requested-file path's command line. Returns the exit code: 0 after a normal
// end and when another copy runs.
int RunShell(const LaunchOptions& commandLine, const RunFiles& runs, int argc,
             const char* const* argv);

}  // namespace vtrak
