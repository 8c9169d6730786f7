#pragma once
// The message box's picture: the text on a white face above a grey strip that
// holds the OK button, laid out once for the text and drawn into ARGB pixels.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font/glyph_cache.h"

namespace vtrak {

struct BoxRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

// A line of rendered glyphs and its width in pixels.
struct TextLine {
  std::vector<Glyph> glyphs;
  int width = 0;
};

struct MessageBoxLayout {
  int width = 0;
  int height = 0;
  int ascent = 0;      // baseline row within a line's cell
  int cellHeight = 0;  // distance between lines
  std::vector<TextLine> lines;
  int textX = 0;  // the first line's cell, top-left
  int textY = 0;
  int stripY = 0;  // the top of the grey strip
  BoxRect button;
  TextLine label;  // "OK"
};

// Lays out the UTF-8 `text` in the face of `glyphs`: lines end at line breaks
// and are wrapped to fit a small screen; a text too long for it is cut, with
// an ellipsis. Any text can be laid out: a character the face lacks shows as
// a replacement mark, and so does each malformed UTF-8 sequence.
MessageBoxLayout LayOutMessageBox(std::string_view text, GlyphCache& glyphs);

// Draws the box into `pixels` (resized to the layout's width x height), the
// button shown pushed in while `pressed`.
void DrawMessageBox(const MessageBoxLayout& layout, bool pressed, std::vector<uint32_t>& pixels);

}  // namespace vtrak
