#include "app/information_options.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/core/printable.h"

namespace vtrak {
namespace {

enum class Question { None, Help, Version };

Question QuestionOf(const char* argument) {
  if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0) {
    return Question::Help;
  }
  if (std::strcmp(argument, "-V") == 0 || std::strcmp(argument, "--version") == 0) {
    return Question::Version;
  }
  return Question::None;
}

// The manual page beside the running program: in a build folder
// (bin/../packaging/man) or in an installed tree (lib/vtrak/../../share/man).
// Empty when neither is there.
std::string ManualPage() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  for (const char* relative : {"../packaging/man/vtrak.6", "../../share/man/man6/vtrak.6.gz"}) {
    const std::filesystem::path page = (program.parent_path() / relative).lexically_normal();
    if (std::filesystem::is_regular_file(page, error)) return page.string();
  }
  return {};
}

}  // namespace

std::optional<int> AnswerInformationOption(int argc, const char* const* argv, std::FILE* out,
                                           std::FILE* errors) {
  bool asked = false;
  // After "--" every argument is the path's, even one that looks like a question.
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    asked = asked || QuestionOf(argv[i]) != Question::None;
  }
  if (!asked) return std::nullopt;
  if (argc != 2) {
    std::fputs("vtrak: -h, --help, -V and --version each stand alone on the command line\n",
               errors);
    return 2;
  }
  if (QuestionOf(argv[1]) == Question::Version) {
    std::fputs("vtrak " VTRAK_VERSION "\n", out);
    return 0;
  }
  std::fputs(
      "usage: vtrak [OPTION]... [--] [PATH]\n"
      "       vtrak -h | --help | -V | --version\n"
      "Starts V-TRAK, a tiny arcade game: 640 by 480 game pixels in a window. Z jumps, X\n"
      "starts a new run after a miss; F11 or Alt+Enter toggles full screen; close the\n"
      "window to quit.\n"
      "PATH, like a file dropped on the window, is noted and otherwise ignored; put it\n"
      "after -- when it starts with --.\n"
      "  --scale N      N screen pixels for each pixel of the game, 1 to 8, at most\n"
      "                 what the screen holds (default: the desktop's own scale factor)\n"
      "  --fullscreen   start in full screen; --windowed starts in a window\n"
      "  --rate HZ      step the game HZ times a second, 1 to 1000, whatever the\n"
      "                 display's refresh (default: one step per refresh)\n"
      "  --record FILE  add each run played to FILE (a file of runs) as it ends\n"
      "  --replay FILE  show the best run of FILE, then play on\n"
      "  --run N        with --replay, run N of FILE (from 1) instead of the best\n"
      "The same settings, one 'key = value' a line (scale, fullscreen, rate), in\n"
      "$XDG_CONFIG_HOME/vtrak/vtrak.conf (else ~/.config/vtrak/vtrak.conf); the command\n"
      "line wins, and a full-screen toggle in the game is remembered there.\n",
      out);
  const std::string page = ManualPage();
  if (page.empty()) {
    std::fputs("More in README.md, in the source.\n", out);
  } else {
    std::fprintf(out, "More in its manual: man -l %s\n", Printable(page).c_str());
  }
  return 0;
}

}  // namespace vtrak
