// `vtrak-tool sim`: the game set up as start-up sets it up, with a scripted
// keyboard polled through the real InputState and no window or sound device.
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "game/autoplay.h"
#include "game/game.h"
#include "game/run_file.h"
#include "game/run_record.h"
#include "game/run_recorder.h"
#include "game/trace_row.h"
#include "platform/core/crt_rand.h"
#include "platform/core/printable.h"
#include "tools/headless/headless_game.h"
#include "tools/vtrak-tool/commands.h"
#include "tools/vtrak-tool/draw_log.h"
#include "tools/vtrak-tool/sim_frames.h"
#include "tools/vtrak-tool/sim_options.h"

namespace vtrak::tool {
namespace {

// An output file named on the command line; "-" is standard output.
class OutputFile {
 public:
  bool Open(const std::string& path) {
    // Appended rather than `"\"" + Printable(path)`: GCC 12 at -O3 sees an overlap that
    // cannot happen in that operator+ (its -Wrestrict false positive).
    path_ = path == "-" ? std::string("standard output")
                        : std::string("\"").append(Printable(path)).append("\"");
    if (path.empty()) return true;
    if (path == "-") {
      file_ = stdout;
      return true;
    }
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
      std::fprintf(stderr, "vtrak-tool sim: cannot write %s: %s\n", path_.c_str(),
                   std::strerror(errno));
      return false;
    }
    owned_ = true;
    return true;
  }
  // True while everything written so far could be stored, or handed to the
  // stream's buffer; else says so on stderr.
  bool Healthy() const {
    if (file_ == nullptr || std::ferror(file_) == 0) return true;
    std::fprintf(stderr, "vtrak-tool sim: writing %s failed: %s\n", path_.c_str(),
                 std::strerror(errno));
    return false;
  }
  // Writes out what is buffered; false, having said so, when it could not be stored.
  bool Close() {
    errno = 0;
    bool ok = file_ == nullptr || (std::fflush(file_) == 0 && std::ferror(file_) == 0);
    if (owned_) ok = std::fclose(file_) == 0 && ok;
    if (!ok) {
      std::fprintf(stderr, "vtrak-tool sim: writing %s failed: %s\n", path_.c_str(),
                   std::strerror(errno));
    }
    file_ = nullptr;
    owned_ = false;
    return ok;
  }
  // A run that ended early has reported its failure already.
  ~OutputFile() {
    if (owned_) std::fclose(file_);
  }
  std::FILE* get() const { return file_; }

 private:
  std::FILE* file_ = nullptr;
  bool owned_ = false;
  std::string path_;  // as the messages name it
};

}  // namespace

int RunSimCommand(int argc, char** argv) {
  std::string error;
  const std::optional<SimOptions> parsed = ParseSimOptions(argc, argv, error);
  if (!parsed) {
    std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
    std::fputs(
        "usage: vtrak-tool sim [--seed N] [--steps N] [--keys LIST] [--autoplay] [--trace FILE]\n"
        "                      [--draws FILE] [--png DIR] [--png-every K] [--record FILE]\n"
        "       vtrak-tool sim --replay FILE [--run N] [--trace FILE] [--draws FILE] [--png DIR]\n"
        "                      [--png-every K]\n",
        stderr);
    return 2;
  }
  const SimOptions& options = *parsed;
  // A recorded run brings its own generator state, keys and length.
  RunRecord replayed;
  const bool replay = !options.replayFile.empty();
  if (replay && !PickRun(options.replayFile, options.run, replayed, error)) {
    std::fprintf(stderr, "vtrak-tool sim: %s\n", error.c_str());
    return 1;
  }
  RunKeys runKeys(replayed);
  const int64_t steps = replay ? replayed.lastStep : options.steps;

  OutputFile trace, draws;
  if (!trace.Open(options.traceFile) || !draws.Open(options.drawsFile)) return 1;
  RunAppender record;
  if (!options.recordFile.empty() && !record.Open(options.recordFile, error)) {
    std::fprintf(stderr, "vtrak-tool sim: %s\n", error.c_str());
    return 1;
  }
  // Only a run that is kept has its keys noted: without --record a step takes
  // no memory, however long the run.
  const bool recording = !options.recordFile.empty();
  RunRecorder recorder;
  // Each run is added as it ends, the run in play when the steps run out.
  const auto keep = [&](const std::optional<RunRecord>& run) {
    if (!run || record.Append(*run, error)) return true;
    std::fprintf(stderr, "vtrak-tool sim: %s\n", error.c_str());
    return false;
  };

  std::unique_ptr<SimFrames> frames;
  if (!options.pngFolder.empty()) {
    frames = SimFrames::Create(options.pngFolder, error);
    if (!frames) {
      std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
      return 1;
    }
  }
  DrawLog surface(draws.get(), nullptr);
  HeadlessGame headless(surface, replay ? std::optional(replayed.randState) : options.seed);
  Game& game = headless.game;
  bool zDown = false, xDown = false;
  if (replay) {
    // The poll before the run's first step, and the jump the restart began.
    runKeys.At(0, zDown, xDown);
    headless.Poll(zDown, xDown);
    game.jumpTimer = replayed.jumpTimer;
  }

  if (trace.get() != nullptr) {
    std::fputs(kTraceHeader, trace.get());
  }
  for (int64_t step = 1; step <= steps; ++step) {
    if (replay) {
      runKeys.At(step, zDown, xDown);
    } else {
      zDown = (options.autoplay && AutoplayWantsJump(game)) || KeyDownAt(options.keys, 'z', step);
      xDown = KeyDownAt(options.keys, 'x', step);
    }
    headless.Poll(zDown, xDown);
    if (recording) recorder.BeforeStep(game, crt::randState());
    surface.SetStep(step);
    const bool png =
        frames && (options.pngEvery > 0 ? step % options.pngEvery == 0 : step == steps);
    // Only the frames that are written are rendered.
    surface.SetNext(png ? frames->BeginFrame() : nullptr);
    StepGame(game);
    if (png && !frames->Write(step, error)) {
      std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
      return 1;
    }
    if (recording && !keep(recorder.AfterStep(game))) return 1;
    if (trace.get() != nullptr) std::fputs(TraceRow(step, game).text, trace.get());
    // The first write that fails ends the run: the rest would go nowhere.
    if (!trace.Healthy() || !draws.Healthy()) return 1;
  }
  if (recording && !keep(recorder.RunInPlay())) return 1;
  const bool traceStored = trace.Close();
  if (!draws.Close() || !traceStored) return 1;
  // A record whose keys do not give the end it names was not written by a game.
  if (replay && (game.dead != (replayed.ended ? 1 : 0) || game.score != replayed.score)) {
    std::fprintf(stderr,
                 "vtrak-tool sim: %s: the run's keys give %s at step %" PRId64
                 " with %d points, not the end the record names\n",
                 Printable(options.replayFile).c_str(), game.dead != 0 ? "a miss" : "no miss",
                 steps, game.score);
    return 1;
  }
  return 0;
}

}  // namespace vtrak::tool
