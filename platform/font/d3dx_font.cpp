#include "platform/font/d3dx_font.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/font/cp932.h"
#include "platform/font/font_lookup.h"
#include "platform/font/glyph_blit.h"

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
  const ClipRect clip{
      std::clamp(rect->left, 0, target.width), std::clamp(rect->top, 0, target.height),
      std::clamp(rect->right, 0, target.width), std::clamp(rect->bottom, 0, target.height)};
  const bool visible = (colour >> 24) != 0 && clip.x0 < clip.x1 && clip.y0 < clip.y1;

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
    if (visible) {
      BlitGlyph(glyph, penX + glyph.left, lineTop + glyphs_->ascent() - glyph.top, target, clip,
                colour);
    }
    penX += glyph.advance;
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
