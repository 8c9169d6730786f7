// The page's canvas: each frame goes to its 2D context as it stands, the
// pixels reordered from the device's ARGB words to the canvas's RGBA bytes.
// The browser shows it at its next refresh, and its animation frame paces the
// loop, so nothing here waits. No WebGL: a frame drawn in software is handed
// over most cheaply as an image.
//
// Only the box around what changed since the last frame is handed over: the
// browser then copies and redraws that much rather than the whole picture (a
// moving post and the score, not the black around them), and nothing at all
// for a picture that holds still. Whatever resets the canvas (its size set
// again, as on entering full screen) has the next frame handed over whole.
#include <emscripten.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/graphics/window_presenter.h"

namespace vtrak {
namespace {

EM_JS(int, PageTakeCanvas, (), {
  const canvas = Module['canvas'];
  const pen = canvas.getContext('2d', {alpha : false});
  Module['vtrakPen'] = pen;
  // Setting a canvas's size, even to the size it has, clears it.
  Module['vtrakCanvasReset'] = true;
  const watch = new MutationObserver(function() { Module['vtrakCanvasReset'] = true; });
  watch.observe(canvas, {attributes : true});
  return pen ? 1 : 0;
});

// Whether the canvas was reset since the last call.
EM_JS(int, PageCanvasReset, (), {
  const reset = Module['vtrakCanvasReset'];
  Module['vtrakCanvasReset'] = false;
  return reset ? 1 : 0;
});

EM_JS(void, PagePutImage,
      (const void* rgba, int width, int height, int x, int y, int boxWidth, int boxHeight), {
        const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
        Module['vtrakPen'].putImageData(new ImageData(pixels, width, height), 0, 0, x, y, boxWidth,
                                        boxHeight);
      });

// Little-endian words: the canvas reads R, G, B, A, so red and blue trade
// places; the back buffer's alpha is no transparency.
constexpr uint64_t ToRgbaPair(uint64_t pair) {
  return 0xFF000000FF000000u | (pair & 0x0000FF000000FF00u) | ((pair >> 16) & 0x000000FF000000FFu) |
         ((pair & 0x000000FF000000FFu) << 16);
}

class CanvasPresenter final : public Presenter {
 public:
  void Present(const uint32_t* argb, int width, int height) override {
    if (width <= 0 || height <= 0) return;
    const size_t columns = static_cast<size_t>(width);
    const size_t pixels = columns * static_cast<size_t>(height);
    bool whole = PageCanvasReset() != 0;
    if (rgba_.size() != pixels) {
      rgba_.assign(pixels, 0);
      whole = true;
    }
    // The changed box, in pixels: [left, right) x [top, bottom); empty while
    // right is not past left.
    size_t left = columns, right = 0, top = 0, bottom = 0;
    for (size_t row = 0; row < static_cast<size_t>(height); ++row) {
      const uint32_t* from = argb + row * columns;
      uint32_t* to = rgba_.data() + row * columns;
      size_t first = columns, last = 0;
      // Two pixels at a time, the odd one at a row's end alone.
      size_t x = 0;
      for (; x + 1 < columns; x += 2) {
        uint64_t pair = 0, old = 0;
        std::memcpy(&pair, from + x, sizeof pair);
        std::memcpy(&old, to + x, sizeof old);
        pair = ToRgbaPair(pair);
        if (pair != old) {
          first = std::min(first, x);
          last = x + 2;
          std::memcpy(to + x, &pair, sizeof pair);
        }
      }
      if (x < columns) {
        const uint32_t pixel = static_cast<uint32_t>(ToRgbaPair(from[x]));
        if (pixel != to[x]) {
          first = std::min(first, x);
          last = x + 1;
          to[x] = pixel;
        }
      }
      if (first == columns) continue;
      if (right <= left) top = row;
      bottom = row + 1;
      left = std::min(left, first);
      right = std::max(right, last);
    }
    if (whole) {
      PagePutImage(rgba_.data(), width, height, 0, 0, width, height);
    } else if (right > left) {
      PagePutImage(rgba_.data(), width, height, static_cast<int>(left), static_cast<int>(top),
                   static_cast<int>(right - left), static_cast<int>(bottom - top));
    }
  }
  void WaitForNextFrame() override {}

 private:
  std::vector<uint32_t> rgba_;  // what the canvas shows
};

}  // namespace

std::unique_ptr<Presenter> CreateWindowPresenter(Window&, uint32_t, int, int, bool) {
  if (PageTakeCanvas() == 0) return nullptr;
  return std::make_unique<CanvasPresenter>();
}

}  // namespace vtrak
