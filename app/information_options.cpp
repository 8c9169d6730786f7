#include "app/information_options.h"

#include <cstring>

namespace vtrak {

std::optional<int> AnswerInformationOption(int argc, const char* const* argv, std::FILE* out) {
  if (argc != 2) return std::nullopt;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::fputs("vtrak " VTRAK_VERSION "\n", out);
    return 0;
  }
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(
        "usage: vtrak [PATH]\n"
        "       vtrak --help | --version\n"
        "Starts V-TRAK, a tiny arcade game, in a 640 by 480 window. Z jumps, X starts a new\n"
        "run after a miss; close the window to quit. PATH, like a file dropped on the\n"
        "window, is noted and otherwise ignored. More in `man vtrak`.\n",
        out);
    return 0;
  }
  return std::nullopt;
}

}  // namespace vtrak
