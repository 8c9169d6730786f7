#pragma once
// The drawing helpers' font: text drawn straight into the device's back
// buffer, top-left aligned, new lines only at line breaks, clipped to its
// rectangle, coloured with alpha. Glyphs are rendered once and kept.
#include <cstdint>
#include <memory>

#include "platform/font/glyph_cache.h"
#include "platform/graphics/d3dx_sprite.h"
#include "platform/graphics/direct3d_device9.h"

namespace vtrak {

struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

inline constexpr uint32_t DT_TOP = 0x0;
inline constexpr uint32_t DT_LEFT = 0x0;
inline constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFFu;
inline constexpr uint32_t SHIFTJIS_CHARSET = 128;
inline constexpr uint32_t FIXED_PITCH = 1;
inline constexpr uint32_t FF_SCRIPT = 0x40;

class D3DXFont {
 public:
  D3DXFont(Direct3DDevice9* device, std::unique_ptr<GlyphCache> glyphs);

  // Draws `count` bytes of `text` (-1: up to its terminator) in code page 932
  // into `rect`. Only DT_LEFT | DT_TOP layout is offered. Returns the height
  // of the text in pixels (0 for an empty text). `sprite` is not used: the
  // font draws on its own.
  int DrawTextA(D3DXSprite* sprite, const char* text, int count, const RECT* rect, uint32_t format,
                uint32_t colour);

  const GlyphCache& glyphs() const { return *glyphs_; }

 private:
  Direct3DDevice9* device_;
  std::unique_ptr<GlyphCache> glyphs_;
};

// Makes a font of cell height `height` (negative: that many pixels per em) for
// the face named in code page 932. Width, mip levels, character set, output
// precision, quality and pitch are accepted as given. Fails with
// D3DERR_INVALIDCALL without a device or face name and D3DERR_NOTAVAILABLE
// when no usable face is installed; `font` is then left as it was.
HRESULT D3DXCreateFontA(Direct3DDevice9* device, int height, uint32_t width, uint32_t weight,
                        uint32_t mipLevels, bool italic, uint32_t charSet, uint32_t outputPrecision,
                        uint32_t quality, uint32_t pitchAndFamily, const char* faceName,
                        std::unique_ptr<D3DXFont>& font);

}  // namespace vtrak
