#include "platform/font/d3dx_font.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/font/cp932.h"
#include "platform/font/font_lookup.h"
#include "platform/graphics/pixel_blend.h"

namespace vtrak {

D3DXFont::D3DXFont(Direct3DDevice9* device, std::unique_ptr<GlyphCache> glyphs)
    : device_(device), glyphs_(std::move(glyphs)) {}

int D3DXFont::DrawTextA(D3DXSprite*, const char* text, int count, const RECT* rect, uint32_t,
                        uint32_t colour) {
  if (text == nullptr || rect == nullptr) return 0;
  const size_t length = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
  if (length == 0) return 0;

  // Pen positions are 64-bit: a box near the ends of the 32-bit range must
  // not overflow as the pen moves along.
  const RenderTarget target = device_->renderTarget();
  const int64_t clipLeft = std::max<int64_t>(rect->left, 0);
  const int64_t clipTop = std::max<int64_t>(rect->top, 0);
  const int64_t clipRight = std::min<int64_t>(rect->right, target.width);
  const int64_t clipBottom = std::min<int64_t>(rect->bottom, target.height);
  const uint32_t alpha = colour >> 24;
  const bool visible = alpha != 0 && clipLeft < clipRight && clipTop < clipBottom;

  int64_t penX = rect->left;
  int64_t lineTop = rect->top;
  size_t i = 0;
  while (i < length && text[i] != '\0') {
    if (text[i] == '\r' || text[i] == '\n') {
      // CR, LF and CR LF each end a line.
      if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') ++i;
      ++i;
      penX = rect->left;
      lineTop += glyphs_->cellHeight();
      continue;
    }
    size_t bytes = 1;
    const Glyph& glyph = glyphs_->Get(NextCp932Code(text, length, i, bytes));
    i += bytes;
    const int64_t originX = penX + glyph.left;
    const int64_t originY = lineTop + glyphs_->ascent() - glyph.top;
    penX += glyph.advance;
    if (!visible) continue;
    for (const Glyph::Run& run : glyph.runs) {
      const int64_t y = originY + run.row;
      if (y < clipTop || y >= clipBottom) continue;
      const int64_t x0 = std::max(originX + run.column, clipLeft);
      const int64_t x1 = std::min(originX + run.column + run.length, clipRight);
      uint32_t* row = target.pixels + static_cast<size_t>(y) * static_cast<size_t>(target.width);
      for (int64_t x = x0; x < x1; ++x) row[x] = BlendOver(colour, alpha, row[x]);
    }
  }
  return static_cast<int>(
      std::min<int64_t>(lineTop + glyphs_->cellHeight() - rect->top, INT32_MAX));
}

HRESULT D3DXCreateFontA(Direct3DDevice9* device, int height, uint32_t, uint32_t weight, uint32_t,
                        bool italic, uint32_t, uint32_t, uint32_t, uint32_t, const char* faceName,
                        std::unique_ptr<D3DXFont>& font) {
  if (device == nullptr || faceName == nullptr || height == 0) return D3DERR_INVALIDCALL;
  const std::optional<FontFile> file =
      FindFontFile(Cp932ToUtf8(faceName), static_cast<int>(weight == 0 ? 400 : weight), italic);
  if (!file) return D3DERR_NOTAVAILABLE;
  std::unique_ptr<GlyphCache> glyphs = GlyphCache::Open(file->path, file->index, height);
  if (!glyphs) return D3DERR_NOTAVAILABLE;
  font = std::make_unique<D3DXFont>(device, std::move(glyphs));
  return D3D_OK;
}

}  // namespace vtrak
