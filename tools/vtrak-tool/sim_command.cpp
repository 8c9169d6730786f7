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
    path_ = path == "-" ? "standard output" : "\"" + Printable(path) + "\"";
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

void WriteTraceRow(std::FILE* trace, int64_t step, const Game& game) {
  std::fprintf(trace, "%" PRId64 ",%d,%d,%d,%d,%d,%d,%d\n", step, game.speed, game.score,
               game.spanPosition, game.halfSpan, game.scrollPhase, game.dead, game.jumpTimer);
}

}  // namespace

int RunSimCommand(int argc, char** argv) {
  std::string error;
  const std::optional<SimOptions> parsed = ParseSimOptions(argc, argv, error);
  if (!parsed) {
    std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
    std::fputs(
        "usage: vtrak-tool sim [--seed N] [--steps N] [--keys LIST] [--autoplay] [--trace FILE]\n"
        "                      [--draws FILE] [--png DIR] [--png-every K]\n",
        stderr);
    return 2;
  }
  const SimOptions& options = *parsed;

  OutputFile trace, draws;
  if (!trace.Open(options.traceFile) || !draws.Open(options.drawsFile)) return 1;

  std::unique_ptr<SimFrames> frames;
  if (!options.pngFolder.empty()) {
    frames = SimFrames::Create(options.pngFolder, error);
    if (!frames) {
      std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
      return 1;
    }
  }
  DrawLog surface(draws.get(), nullptr);
  HeadlessGame headless(surface, options.seed);
  Game& game = headless.game;

  if (trace.get() != nullptr) {
    std::fputs("step,speed,score,spanPosition,halfSpan,scrollPhase,dead,jumpTimer\n", trace.get());
  }
  for (int64_t step = 1; step <= options.steps; ++step) {
    const bool autoJump = options.autoplay && AutoplayWantsJump(game);
    headless.Poll(autoJump || KeyDownAt(options.keys, 'z', step),
                  KeyDownAt(options.keys, 'x', step));
    surface.SetStep(step);
    const bool png =
        frames && (options.pngEvery > 0 ? step % options.pngEvery == 0 : step == options.steps);
    // Only the frames that are written are rendered.
    surface.SetNext(png ? frames->BeginFrame() : nullptr);
    StepGame(game);
    if (png && !frames->Write(step, error)) {
      std::fprintf(stderr, "vtrak-tool sim: %s\n", Printable(error).c_str());
      return 1;
    }
    if (trace.get() != nullptr) WriteTraceRow(trace.get(), step, game);
    // The first write that fails ends the run: the rest would go nowhere.
    if (!trace.Healthy() || !draws.Healthy()) return 1;
  }
  const bool traceStored = trace.Close();
  return draws.Close() && traceStored ? 0 : 1;
}

}  // namespace vtrak::tool
