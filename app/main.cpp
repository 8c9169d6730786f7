#include <cstdio>

#include "app/command_line_options.h"
#include "app/information_options.h"
#include "app/shell.h"

int main(int argc, char** argv) {
  // Asked for the usage or the version: no lock, no window.
  if (const std::optional<int> status =
          vtrak::AnswerInformationOption(argc, argv, stdout, stderr)) {
    return *status;
  }
  vtrak::CommandLine commandLine;
  std::string why;
  if (!vtrak::ParseCommandLine(argc, argv, commandLine, why)) {
    std::fprintf(stderr, "vtrak: %s (vtrak --help lists the options)\n", why.c_str());
    return 2;
  }
  // The path's arguments, with the one before them standing for the program's name.
  const int skipped = commandLine.pathStart - 1;
  return vtrak::RunShell(commandLine.options, argc - skipped, argv + skipped);
}
