#include "bench/game_process.h"

#include <spawn.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <thread>

extern char** environ;

namespace vtrak::bench {

int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> result = extra;
  for (char** entry = environ; *entry != nullptr; ++entry) result.emplace_back(*entry);
  return result;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            void* fileActions) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t child = -1;
  if (argv[0] == nullptr ||
      posix_spawnp(&child, argv[0], static_cast<posix_spawn_file_actions_t*>(fileActions), nullptr,
                   argv.data(), envp.data()) != 0) {
    return -1;
  }
  return child;
}

std::string FreshRuntimeFolder() {
  std::string folder = (std::filesystem::temp_directory_path() / "vtrak-bench-XXXXXX").string();
  return mkdtemp(folder.data()) != nullptr ? folder : std::string();
}

std::string CommandOutput(const std::string& command) {
  std::string output;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  return output;
}

std::string WaitForWindow(pid_t game) {
  for (int i = 0; i < 200; ++i) {
    const std::string id =
        CommandOutput("xdotool search --onlyvisible --pid " + std::to_string(game) +
                      " --name '^V-TRAK$' 2>/dev/null | head -n1");
    if (!id.empty()) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

}  // namespace vtrak::bench
