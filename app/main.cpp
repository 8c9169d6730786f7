#include <cstdio>

#include "app/information_options.h"
#include "app/shell.h"

int main(int argc, char** argv) {
  // Asked for the usage or the version: no lock, no window.
  if (const std::optional<int> status =
          vtrak::AnswerInformationOption(argc, argv, stdout, stderr)) {
    return *status;
  }
  return vtrak::RunShell(argc, argv);
}
