// vtrak-soak [--allow-death] -- COMMAND [ARG...]
// Runs COMMAND (a `vtrak-tool sim ... --trace -`), checks every trace row it
// writes against the step invariants, and reports the counts and the
// command's peak memory (max RSS). Exit status 0 when every row held and the
// command ended with 0.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/soak/step_invariants.h"

namespace {

constexpr const char* kTraceHeader =
    "step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer\n";

// Starts the command with its standard output on a pipe; returns the read end.
std::FILE* StartCommand(char** argv, pid_t& child) {
  int ends[2];
  if (pipe(ends) != 0) return nullptr;
  child = fork();
  if (child < 0) return nullptr;
  if (child == 0) {
    dup2(ends[1], STDOUT_FILENO);
    close(ends[0]);
    close(ends[1]);
    execv(argv[0], argv);
    std::fprintf(stderr, "vtrak-soak: cannot run %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
  }
  close(ends[1]);
  return fdopen(ends[0], "r");
}

// Reads and checks every row; empty when all held.
std::string CheckTrace(std::FILE* trace, vtrak::soak::StepInvariants& invariants) {
  char line[256];
  if (std::fgets(line, sizeof line, trace) == nullptr) return "the command wrote no trace";
  if (std::strcmp(line, kTraceHeader) != 0) return std::string("unexpected trace header: ") + line;
  vtrak::soak::StepRow row{};
  while (std::fgets(line, sizeof line, trace) != nullptr) {
    if (!vtrak::soak::ParseStepRow(line, row)) return std::string("unreadable trace row: ") + line;
    std::string fault = invariants.Check(row);
    if (!fault.empty()) return fault;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  bool deathAllowed = false;
  int first = 1;
  if (first < argc && std::strcmp(argv[first], "--allow-death") == 0) {
    deathAllowed = true;
    ++first;
  }
  if (first >= argc || std::strcmp(argv[first], "--") != 0 || first + 1 >= argc) {
    std::fputs("usage: vtrak-soak [--allow-death] -- COMMAND [ARG...]\n", stderr);
    return 2;
  }
  pid_t child = 0;
  std::FILE* trace = StartCommand(argv + first + 1, child);
  if (trace == nullptr) {
    std::fprintf(stderr, "vtrak-soak: cannot start %s: %s\n", argv[first + 1],
                 std::strerror(errno));
    return 1;
  }
  vtrak::soak::StepInvariants invariants(deathAllowed);
  const std::string fault = CheckTrace(trace, invariants);
  std::fclose(trace);  // a command still writing after a fault finds the pipe closed and ends

  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const vtrak::soak::RunCounts& counts = invariants.counts();
  std::printf("steps=%" PRId64 " posts=%" PRId64 " deaths=%" PRId64 " restarts=%" PRId64
              " highestScore=%d maxRssKiB=%ld\n",
              counts.steps, counts.postsPassed, counts.deaths, counts.restarts, counts.highestScore,
              usage.ru_maxrss);
  if (!fault.empty()) {
    std::fprintf(stderr, "vtrak-soak: %s\n", fault.c_str());
    return 1;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "vtrak-soak: %s ended with status %d\n", argv[first + 1], status);
    return 1;
  }
  return 0;
}
