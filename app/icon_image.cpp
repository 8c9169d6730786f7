#include "app/icon_image.h"

#include <cstddef>

namespace vtrak {
namespace {

// '#' is white, ' ' is black.
constexpr const char* kIconRows[kIconSize] = {
    "                                ", " ############################## ",
    " #                            # ", " #                            # ",
    " #                            # ", " #    ##                ##    # ",
    " #    ##                ##    # ", " #    ##                ##    # ",
    " #    ##                ##    # ", " #    ##                ##    # ",
    " #    ###              ###    # ", " #    ## #            # ##    # ",
    " #    ##  ##        ##  ##    # ", " #    ##    ########    ##    # ",
    " #    ##                ##    # ", " #    ##                ##    # ",
    " #    ##      ####      ##    # ", " #    ##      ####      ##    # ",
    " #    ##      ####      ##    # ", " #    ##      ####      ##    # ",
    " #    ##                ##    # ", " ############################## ",
    " #  #     #     #     #     # # ", " #  #     #     #     #     # # ",
    " #  #     #     #     #     # # ", " #  #     #     #     #     # # ",
    " #  #     #     #     #     # # ", " #  #     #     #     #     # # ",
    " #  #     #     #     #     # # ", " #  #     #     #     #     # # ",
    " ############################## ", "                                "};

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;

}  // namespace

std::vector<uint32_t> IconPixels(int scale) {
  const int size = kIconSize * scale;
  std::vector<uint32_t> pixels(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      pixels[static_cast<size_t>(y) * size + x] =
          kIconRows[y / scale][x / scale] == '#' ? kWhite : kBlack;
    }
  }
  return pixels;
}

}  // namespace vtrak
