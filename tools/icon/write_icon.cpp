// Writes the program's icon as a PNG file for the desktop's icon theme: the
// 32 by 32 window icon, each pixel repeated into a square block for the
// larger sizes, so every size shows the same picture with hard edges.
//
//   vtrak-icon OUTPUT.png SIZE      (SIZE a multiple of 32, up to 1024)
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/icon_image.h"
#include "platform/graphics/png_writer.h"

namespace {

constexpr int kLargestScale = 32;

// The scale for a size in pixels, or 0 when the size is not a whole multiple
// of the icon's own size within range.
int ScaleForSize(const char* text) {
  int size = 0;
  const char* end = text + std::strlen(text);
  const auto [ptr, ec] = std::from_chars(text, end, size);
  if (ec != std::errc() || ptr != end || size <= 0 || size % vtrak::kIconSize != 0) return 0;
  const int scale = size / vtrak::kIconSize;
  return scale <= kLargestScale ? scale : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc == 3 ? ScaleForSize(argv[2]) : 0;
  if (scale == 0) {
    std::fprintf(stderr, "usage: vtrak-icon OUTPUT.png SIZE (SIZE a multiple of %d, up to %d)\n",
                 vtrak::kIconSize, vtrak::kIconSize * kLargestScale);
    return 2;
  }
  const int size = vtrak::kIconSize * scale;
  const std::vector<uint32_t> pixels = vtrak::IconPixels(scale);
  std::string error;
  if (!vtrak::WritePng(argv[1], pixels.data(), size, size, &error)) {
    std::fprintf(stderr, "vtrak-icon: %s; check that its folder exists and is writable\n",
                 error.c_str());
    return 1;
  }
  return 0;
}
