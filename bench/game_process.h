#pragma once
// Running the game as a process for the benchmarks: spawning it with extra
// environment, a private runtime folder, and finding its window with xdotool.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vtrak::bench {

int64_t MonotonicNanoseconds();

// The current environment with `extra` ("NAME=value") put in front.
std::vector<std::string> Environment(const std::vector<std::string>& extra);

// Starts `arguments` (the program is looked up on PATH) with exactly
// `environment`; -1 when it cannot be started.
pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            void* fileActions = nullptr);

// A private lock folder for each copy of the game, so a copy still ending does
// not turn the next one away as a second copy; empty when none can be made.
std::string FreshRuntimeFolder();

// What `command` printed, without trailing blanks and line ends.
std::string CommandOutput(const std::string& command);

// The id of the visible window titled V-TRAK of process `game`, waiting up to
// 20 s; empty if it did not appear.
std::string WaitForWindow(pid_t game);

}  // namespace vtrak::bench
