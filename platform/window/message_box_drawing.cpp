#include "platform/window/message_box_drawing.h"

#include <algorithm>

#include "platform/font/glyph_blit.h"
#include "platform/core/utf8.h"

namespace vtrak {
namespace {

// Sizes in pixels, in the proportions of a plain desktop dialog.
constexpr int kSideMargin = 24;
constexpr int kTopMargin = 22;
constexpr int kTextToStrip = 22;
constexpr int kStripPadding = 12;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 28;
constexpr int kMinimumWidth = 240;

constexpr uint32_t kFaceColour = 0xFFFFFFFF;
constexpr uint32_t kStripColour = 0xFFF0F0F0;
constexpr uint32_t kTextColour = 0xFF000000;
constexpr uint32_t kButtonColour = 0xFFE1E1E1;
constexpr uint32_t kPressedColour = 0xFFCCE4F7;
constexpr uint32_t kButtonRimColour = 0xFF0078D7;  // the default button's rim

TextLine RenderLine(const std::u32string& characters, GlyphCache& glyphs) {
  TextLine line;
  for (const char32_t c : characters) {
    line.glyphs.push_back(glyphs.Render(c));
    line.width += line.glyphs.back().advance;
  }
  return line;
}

void Fill(const RenderTarget& target, const BoxRect& area, uint32_t colour) {
  for (int y = area.y; y < area.y + area.height; ++y) {
    std::fill_n(target.pixels + static_cast<size_t>(y) * static_cast<size_t>(target.width) + area.x,
                area.width, colour);
  }
}

void DrawLine(const RenderTarget& target, const TextLine& line, int x, int top, int ascent) {
  const ClipRect clip{0, 0, target.width, target.height};
  for (const Glyph& glyph : line.glyphs) {
    BlitGlyph(glyph, x + glyph.left, top + ascent - glyph.top, target, clip, kTextColour);
    x += glyph.advance;
  }
}

}  // namespace

MessageBoxLayout LayOutMessageBox(std::string_view text, GlyphCache& glyphs) {
  MessageBoxLayout layout;
  layout.ascent = glyphs.ascent();
  layout.cellHeight = glyphs.cellHeight();
  // CR LF, CR and LF each end a line.
  std::u32string current;
  const std::u32string characters = DecodeUtf8(text);
  for (size_t i = 0; i <= characters.size(); ++i) {
    const char32_t c = i < characters.size() ? characters[i] : U'\n';
    if (c != U'\r' && c != U'\n') {
      current.push_back(c);
      continue;
    }
    if (c == U'\r' && i + 1 < characters.size() && characters[i + 1] == U'\n') ++i;
    layout.lines.push_back(RenderLine(current, glyphs));
    current.clear();
  }
  layout.label = RenderLine(U"OK", glyphs);

  int textWidth = 0;
  for (const TextLine& line : layout.lines) textWidth = std::max(textWidth, line.width);
  const int buttonWidth = std::max(kButtonWidth, layout.label.width + 2 * kStripPadding);
  layout.width =
      std::max({kMinimumWidth, textWidth + 2 * kSideMargin, buttonWidth + 2 * kSideMargin});
  layout.textX = kSideMargin;
  layout.textY = kTopMargin;
  layout.stripY =
      kTopMargin + static_cast<int>(layout.lines.size()) * layout.cellHeight + kTextToStrip;
  layout.button = {(layout.width - buttonWidth) / 2, layout.stripY + kStripPadding, buttonWidth,
                   kButtonHeight};
  layout.height = layout.button.y + kButtonHeight + kStripPadding;
  return layout;
}

void DrawMessageBox(const MessageBoxLayout& layout, bool pressed, std::vector<uint32_t>& pixels) {
  pixels.assign(static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height), 0);
  const RenderTarget target{pixels.data(), nullptr, layout.width, layout.height};
  Fill(target, {0, 0, layout.width, layout.stripY}, kFaceColour);
  Fill(target, {0, layout.stripY, layout.width, layout.height - layout.stripY}, kStripColour);
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    DrawLine(target, layout.lines[i], layout.textX,
             layout.textY + static_cast<int>(i) * layout.cellHeight, layout.ascent);
  }

  // The button: a rim, a face a pixel inside it, the label centred.
  const BoxRect& button = layout.button;
  Fill(target, button, kButtonRimColour);
  Fill(target, {button.x + 1, button.y + 1, button.width - 2, button.height - 2},
       pressed ? kPressedColour : kButtonColour);
  const int shift = pressed ? 1 : 0;  // a pushed-in button's label sinks a pixel
  DrawLine(target, layout.label, button.x + (button.width - layout.label.width) / 2 + shift,
           button.y + (button.height - layout.cellHeight) / 2 + shift, layout.ascent);
}

}  // namespace vtrak
