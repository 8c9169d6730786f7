#pragma once
// One face at one size, rendered by FreeType into aliased (one bit a pixel)
// glyph bitmaps that are kept for the life of the font. The size follows the
// Windows rule for a cell height: the face's Windows ascent plus descent is
// scaled to that many pixels.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vtrak {

struct Glyph {
  int left = 0;  // from the pen position to the bitmap's first column
  int top = 0;   // from the baseline up to the bitmap's first row
  int width = 0;
  int height = 0;
  int advance = 0;  // pen movement in pixels
  // Horizontal runs of lit pixels: row, first column, length.
  struct Run {
    int16_t row;
    int16_t column;
    int16_t length;
  };
  std::vector<Run> runs;
};

class GlyphCache {
 public:
  // Opens face `index` of `path` sized for `cellHeight` pixels (a negative
  // value asks for that many pixels per em instead). Null when FreeType cannot
  // use the file.
  static std::unique_ptr<GlyphCache> Open(const std::string& path, int index, int cellHeight);
  ~GlyphCache();
  GlyphCache(const GlyphCache&) = delete;
  GlyphCache& operator=(const GlyphCache&) = delete;

  int pixelsPerEm() const { return pixelsPerEm_; }
  int ascent() const { return ascent_; }          // baseline row within the cell
  int cellHeight() const { return cellHeight_; }  // distance between lines
  // The glyph for a code-page-932 character code, rendered on first use.
  const Glyph& Get(uint16_t code);
  // The glyph for a Unicode character, rendered afresh (not kept).
  Glyph Render(char32_t character);
  // The face has a glyph of its own for the character.
  bool Has(char32_t character) const;

 private:
  struct FreeType;
  GlyphCache(std::unique_ptr<FreeType> freeType, int pixelsPerEm, int ascent, int cellHeight);

  std::unique_ptr<FreeType> freeType_;
  int pixelsPerEm_;
  int ascent_;
  int cellHeight_;
  std::vector<Glyph> ascii_;  // codes 0..127, rendered when the cache opens
  std::unordered_map<uint16_t, Glyph> others_;
};

}  // namespace vtrak
