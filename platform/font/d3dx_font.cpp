#include "platform/font/d3dx_font.h"

#include <algorithm>
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

  const RenderTarget target = device_->renderTarget();
  const int clipLeft = std::max(rect->left, 0);
  const int clipTop = std::max(rect->top, 0);
  const int clipRight = std::min(rect->right, target.width);
  const int clipBottom = std::min(rect->bottom, target.height);
  const uint32_t alpha = colour >> 24;

  int penX = rect->left;
  int lineTop = rect->top;
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
    const int originX = penX + glyph.left;
    const int originY = lineTop + glyphs_->ascent() - glyph.top;
    penX += glyph.advance;
    if (alpha == 0) continue;
    for (const Glyph::Run& run : glyph.runs) {
      const int y = originY + run.row;
      if (y < clipTop || y >= clipBottom) continue;
      const int x0 = std::max(originX + run.column, clipLeft);
      const int x1 = std::min(originX + run.column + run.length, clipRight);
      uint32_t* row = target.pixels + static_cast<size_t>(y) * static_cast<size_t>(target.width);
      for (int x = x0; x < x1; ++x) row[x] = BlendOver(colour, alpha, row[x]);
    }
  }
  return lineTop + glyphs_->cellHeight() - rect->top;
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
