// The game as a process: the time from its start to its first presented frame
// (dummy video driver), beside starting a program that does nothing; and the
// CPU it uses over 10 s in a real window and while minimised (needs DISPLAY
// and a window manager, as scripts/bench.sh provides).
// Usage: game_process_bench VTRAK FIRST_FRAME_PROBE [benchmark options]
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/game_process.h"

namespace {

using namespace vtrak::bench;

std::string gameProgram;
std::string probeLibrary;

void BM_StartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    int ends[2];
    if (pipe(ends) != 0) {
      state.SkipWithError("no pipe");
      return;
    }
    const std::string runtime = FreshRuntimeFolder();
    if (runtime.empty()) {
      state.SkipWithError("no private runtime folder");
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    const int64_t start = MonotonicNanoseconds();
    const pid_t child = Spawn(
        {gameProgram},
        Environment({"SDL_VIDEODRIVER=dummy", "ALSOFT_DRIVERS=null", "LD_PRELOAD=" + probeLibrary,
                     "VTRAK_FIRST_FRAME_FD=" + std::to_string(ends[1]),
                     "XDG_RUNTIME_DIR=" + runtime}),
        &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    char text[32] = {};
    const ssize_t length = read(ends[0], text, sizeof text - 1);
    close(ends[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    std::filesystem::remove_all(runtime);
    if (child <= 0 || length <= 0) {
      state.SkipWithError("the game presented no frame");
      return;
    }
    state.SetIterationTime(static_cast<double>(std::atoll(text) - start) * 1e-9);
  }
}
BENCHMARK(BM_StartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The floor for the figure above: starting and reaping a program that does nothing.
void BM_StartTrueProgram(benchmark::State& state) {
  for (auto _ : state) {
    const pid_t child = Spawn({"/bin/true"}, Environment({}));
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
  }
}
BENCHMARK(BM_StartTrueProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

// utime + stime of a process, in seconds.
double CpuSeconds(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/stat";
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return -1;
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  const char* after = read ? std::strrchr(line, ')') : nullptr;
  unsigned long user = 0, system = 0;
  // Fields 3..15 after the name; utime and stime are the 14th and 15th.
  if (after == nullptr ||
      std::sscanf(after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user,
                  &system) != 2) {
    return -1;
  }
  return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

constexpr double kCpuWindowSeconds = 10.0;

// CPU time of the running game over 10 s, in per cent of one core.
void MeasureCpuUse(benchmark::State& state, bool minimised) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("needs DISPLAY and a window manager (scripts/bench.sh starts Xvfb)");
    return;
  }
  for (auto _ : state) {
    const std::string runtime = FreshRuntimeFolder();
    if (runtime.empty()) {
      state.SkipWithError("no private runtime folder");
      return;
    }
    const pid_t game =
        Spawn({gameProgram}, Environment({"ALSOFT_DRIVERS=null", "XDG_RUNTIME_DIR=" + runtime}));
    const std::string window = game > 0 ? WaitForWindow(game) : std::string();
    if (window.empty()) {
      if (game > 0) kill(game, SIGKILL);
      state.SkipWithError("the game's window did not appear");
      return;
    }
    if (minimised) std::system(("xdotool windowminimize --sync " + window).c_str());
    std::this_thread::sleep_for(std::chrono::seconds(1));  // past start-up
    const double before = CpuSeconds(game);
    std::this_thread::sleep_for(std::chrono::duration<double>(kCpuWindowSeconds));
    const double after = CpuSeconds(game);
    kill(game, SIGTERM);
    int status = 0;
    waitpid(game, &status, 0);
    std::filesystem::remove_all(runtime);
    state.SetIterationTime(kCpuWindowSeconds);
    state.counters["cpu_percent"] = (after - before) / kCpuWindowSeconds * 100.0;
  }
}

void BM_CpuUseInWindow(benchmark::State& state) {
  MeasureCpuUse(state, false);
}
void BM_CpuUseMinimised(benchmark::State& state) {
  MeasureCpuUse(state, true);
}
BENCHMARK(BM_CpuUseInWindow)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_CpuUseMinimised)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: game_process_bench VTRAK FIRST_FRAME_PROBE [benchmark options]\n", stderr);
    return 2;
  }
  gameProgram = argv[1];
  probeLibrary = argv[2];
  argv[2] = argv[0];
  argc -= 2;
  argv += 2;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
