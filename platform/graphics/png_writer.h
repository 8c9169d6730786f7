#pragma once
// Frames as PNG files: 8-bit RGB, the alpha of the back buffer dropped (the
// screen does not show it either).
#include <cstdint>
#include <string>

namespace vtrak {

// Writes `width` x `height` ARGB pixels, row-major, to `path`. On failure
// returns false and, when `error` is given, says why in one line.
bool WritePng(const std::string& path, const uint32_t* argb, int width, int height,
              std::string* error = nullptr);

}  // namespace vtrak
