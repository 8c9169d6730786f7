#include <cstdio>
#include <new>

#include "app/command_line_options.h"
#include "app/information_options.h"
#include "app/shell.h"
#include "platform/core/printable.h"
#include "platform/core/process_setup.h"

namespace {

int RunProgram(int argc, char** argv) {
  // Asked for the usage or the version: no lock, no window.
  if (const std::optional<int> status =
          vtrak::AnswerInformationOption(argc, argv, stdout, stderr)) {
    return vtrak::CloseStandardOutput("vtrak") ? *status : 1;
  }
  vtrak::CommandLine commandLine;
  std::string why;
  if (!vtrak::ParseCommandLine(argc, argv, commandLine, why)) {
    std::fprintf(stderr, "vtrak: %s (vtrak --help lists the options)\n",
                 vtrak::Printable(why).c_str());
    return 2;
  }
  // The path's arguments, with the one before them standing for the program's name.
  const int skipped = commandLine.pathStart - 1;
  return vtrak::RunShell(commandLine.options, commandLine.runs, argc - skipped, argv + skipped);
}

}  // namespace

int main(int argc, char** argv) {
  vtrak::SettleProcessStart();
  try {
    return RunProgram(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("vtrak: out of memory: close other programs, or raise the memory limit\n", stderr);
    return 1;
  }
}
