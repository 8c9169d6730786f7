#pragma once
// The program's icon: 32 by 32 pixels in two colours — the playfield's frame,
// two posts with the span line sagging between them, the ground, the sleepers
// and the figure.
#include <cstdint>
#include <vector>

namespace vtrak {

inline constexpr int kIconSize = 32;

// The icon as opaque ARGB pixels, row by row, each icon pixel repeated into a
// `scale` by `scale` block (scale 1 is the window icon itself).
std::vector<uint32_t> IconPixels(int scale);

}  // namespace vtrak
