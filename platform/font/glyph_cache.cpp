#include "platform/font/glyph_cache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "platform/font/cp932.h"

namespace vtrak {

struct GlyphCache::FreeType {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FreeType() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

std::unique_ptr<GlyphCache> GlyphCache::Open(const std::string& path, int index, int cellHeight) {
  auto freeType = std::make_unique<FreeType>();
  if (cellHeight == 0 || FT_Init_FreeType(&freeType->library) != 0 ||
      FT_New_Face(freeType->library, path.c_str(), index, &freeType->face) != 0 ||
      !FT_IS_SCALABLE(freeType->face)) {
    return nullptr;
  }
  FT_Face face = freeType->face;
  const double unitsPerEm = face->units_per_EM;
  double ascentUnits = face->ascender;
  double descentUnits = -face->descender;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    ascentUnits = os2->usWinAscent;
    descentUnits = os2->usWinDescent;
  }
  const double cellUnits = ascentUnits + descentUnits;
  if (unitsPerEm <= 0.0 || cellUnits <= 0.0) return nullptr;

  int pixelsPerEm = 0;
  int ascent = 0;
  int cell = 0;
  if (cellHeight > 0) {
    // Cell height: the whole of ascent and descent in that many pixels.
    pixelsPerEm = static_cast<int>(std::lround(unitsPerEm * cellHeight / cellUnits));
    ascent = static_cast<int>(std::lround(ascentUnits * cellHeight / cellUnits));
    cell = cellHeight;
  } else {
    pixelsPerEm = -cellHeight;
    ascent = static_cast<int>(std::lround(ascentUnits * pixelsPerEm / unitsPerEm));
    cell = ascent + static_cast<int>(std::lround(descentUnits * pixelsPerEm / unitsPerEm));
  }
  if (pixelsPerEm <= 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelsPerEm)) != 0) {
    return nullptr;
  }
  std::unique_ptr<GlyphCache> cache(new GlyphCache(std::move(freeType), pixelsPerEm, ascent, cell));
  for (char32_t code = 0; code < 128; ++code) cache->ascii_.push_back(cache->Render(code));
  return cache;
}

GlyphCache::GlyphCache(std::unique_ptr<FreeType> freeType, int pixelsPerEm, int ascent,
                       int cellHeight)
    : freeType_(std::move(freeType)),
      pixelsPerEm_(pixelsPerEm),
      ascent_(ascent),
      cellHeight_(cellHeight) {
  ascii_.reserve(128);
}

GlyphCache::~GlyphCache() = default;

const Glyph& GlyphCache::Get(uint16_t code) {
  if (code < ascii_.size()) return ascii_[code];
  auto found = others_.find(code);
  if (found == others_.end()) found = others_.emplace(code, Render(Cp932ToUnicode(code))).first;
  return found->second;
}

bool GlyphCache::Has(char32_t character) const {
  return FT_Get_Char_Index(freeType_->face, character) != 0;
}

Glyph GlyphCache::Render(char32_t character) {
  Glyph glyph;
  if (character < 0x20) return glyph;  // control characters draw nothing
  FT_Face face = freeType_->face;
  if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return glyph;
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  for (int row = 0; row < glyph.height; ++row) {
    const unsigned char* bits = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    int column = 0;
    while (column < glyph.width) {
      const auto lit = [&](int c) {
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
          return ((bits[c >> 3] >> (7 - (c & 7))) & 1) != 0;
        return bits[c] >= 128;
      };
      if (!lit(column)) {
        ++column;
        continue;
      }
      const int start = column;
      while (column < glyph.width && lit(column)) ++column;
      glyph.runs.push_back({static_cast<int16_t>(row), static_cast<int16_t>(start),
                            static_cast<int16_t>(column - start)});
    }
  }
  return glyph;
}

}  // namespace vtrak
