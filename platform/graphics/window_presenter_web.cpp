// The page's canvas: each frame goes to its 2D context as it stands, the
// pixels reordered from the device's ARGB words to the canvas's RGBA bytes.
// The browser shows it at its next refresh, and its animation frame paces the
// loop, so nothing here waits. No WebGL: a frame drawn in software is handed
// over most cheaply as an image.
#include <emscripten.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/graphics/window_presenter.h"

namespace vtrak {
namespace {

EM_JS(int, PageTakeCanvas, (), {
  const pen = Module['canvas'].getContext('2d', {alpha : false});
  Module['vtrakPen'] = pen;
  return pen ? 1 : 0;
});

EM_JS(void, PagePutImage, (const void* rgba, int width, int height), {
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  Module['vtrakPen'].putImageData(new ImageData(pixels, width, height), 0, 0);
});

class CanvasPresenter final : public Presenter {
 public:
  void Present(const uint32_t* argb, int width, int height) override {
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    rgba_.resize((pixels + 1) / 2);
    // Two pixels at a time. Little-endian words: the canvas reads R, G, B, A,
    // so red and blue trade places; the back buffer's alpha is no transparency.
    for (size_t i = 0; i < pixels / 2; ++i) {
      uint64_t pair = 0;
      std::memcpy(&pair, argb + 2 * i, sizeof pair);
      rgba_[i] = 0xFF000000FF000000u | (pair & 0x0000FF000000FF00u) |
                 ((pair >> 16) & 0x000000FF000000FFu) | ((pair & 0x000000FF000000FFu) << 16);
    }
    if (pixels % 2 != 0) {
      const uint32_t last = argb[pixels - 1];
      rgba_.back() =
          0xFF000000u | (last & 0x0000FF00u) | ((last >> 16) & 0xFFu) | ((last & 0xFFu) << 16);
    }
    PagePutImage(rgba_.data(), width, height);
  }
  void WaitForNextFrame() override {}

 private:
  std::vector<uint64_t> rgba_;
};

}  // namespace

std::unique_ptr<Presenter> CreateWindowPresenter(Window&, uint32_t, int, int, bool) {
  if (PageTakeCanvas() == 0) return nullptr;
  return std::make_unique<CanvasPresenter>();
}

}  // namespace vtrak
