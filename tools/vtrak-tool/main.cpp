// vtrak-tool: the game without a window, and diagnostics, for tests and demos.
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/core/printable.h"
#include "platform/core/process_setup.h"
#include "tools/vtrak-tool/commands.h"

namespace {

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: vtrak-tool sim [--seed N] [--steps N] [--keys LIST] [--autoplay] [--trace FILE]\n"
      "                      [--draws FILE] [--png DIR] [--png-every K] [--record FILE]\n"
      "       vtrak-tool sim --replay FILE [--run N] [--trace FILE] [--draws FILE] [--png DIR]\n"
      "                      [--png-every K]\n"
      "       vtrak-tool sound PATH\n"
      "       vtrak-tool message TEXT\n"
      "       vtrak-tool display\n"
      "       vtrak-tool --help | --version\n",
      out);
}

int RunCommand(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    PrintUsage(stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("vtrak-tool " VTRAK_VERSION);
    return 0;
  }
  if (std::strcmp(argv[1], "sim") == 0) return vtrak::tool::RunSimCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "sound") == 0) return vtrak::tool::RunSoundCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "message") == 0) {
    return vtrak::tool::RunMessageCommand(argc - 2, argv + 2);
  }
  if (std::strcmp(argv[1], "display") == 0) {
    return vtrak::tool::RunDisplayCommand(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "vtrak-tool: unknown command \"%s\"\n", vtrak::Printable(argv[1]).c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  vtrak::SettleProcessStart();
  int status = 1;
  try {
    status = RunCommand(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("vtrak-tool: out of memory: close other programs, or raise the memory limit\n",
               stderr);
  }
  // A command that succeeded has not succeeded if its output could not be
  // stored; one that failed has said why already.
  if (status == 0 && !vtrak::CloseStandardOutput("vtrak-tool")) status = 1;
  return status;
}
