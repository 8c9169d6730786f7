#include "platform/window/message_box_drawing.h"

#include <algorithm>

#include "platform/core/utf8.h"
#include "platform/font/glyph_blit.h"

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

constexpr int kMaxTextWidth = 560;  // with the margins, the box fits a 640-pixel screen
constexpr size_t kMaxLines = 16;

void Append(TextLine& line, Glyph glyph) {
  line.width += glyph.advance;
  line.glyphs.push_back(std::move(glyph));
}

TextLine RenderLine(const std::u32string& characters, GlyphCache& glyphs) {
  TextLine line;
  for (const char32_t c : characters) Append(line, glyphs.Render(c));
  return line;
}

// The first of `choices` that the face draws with a glyph of its own.
std::u32string FirstDrawn(std::initializer_list<std::u32string> choices, GlyphCache& glyphs) {
  for (const std::u32string& choice : choices) {
    if (std::all_of(choice.begin(), choice.end(), [&](char32_t c) { return glyphs.Has(c); })) {
      return choice;
    }
  }
  return U"?";
}

// The text's lines, each broken to at most kMaxTextWidth pixels after its
// last space that fits, else before the character that does not. A character
// the face lacks is drawn as the replacement mark. Stops at kMaxLines + 1
// lines: the rest would not be shown.
std::vector<TextLine> WrappedLines(const std::u32string& characters, GlyphCache& glyphs) {
  const char32_t mark = FirstDrawn({U"\uFFFD", U"\u25A1"}, glyphs)[0];
  std::vector<TextLine> lines(1);
  size_t afterSpace = 0;  // glyphs of the last line up to its last space; 0: none
  for (size_t i = 0; i < characters.size() && lines.size() <= kMaxLines; ++i) {
    const char32_t c = characters[i];
    if (c == U'\r' || c == U'\n') {  // CR LF, CR and LF each end a line
      if (c == U'\r' && i + 1 < characters.size() && characters[i + 1] == U'\n') ++i;
      lines.emplace_back();
      afterSpace = 0;
      continue;
    }
    Glyph glyph = glyphs.Render(c < 0x20 || glyphs.Has(c) ? c : mark);
    TextLine& line = lines.back();
    if (line.width + glyph.advance > kMaxTextWidth && !line.glyphs.empty()) {
      TextLine next;
      if (afterSpace > 0) {
        for (size_t g = afterSpace; g < line.glyphs.size(); ++g) Append(next, line.glyphs[g]);
        line.glyphs.resize(afterSpace - 1);  // the space itself goes
        line.width = 0;
        for (const Glyph& kept : line.glyphs) line.width += kept.advance;
      }
      lines.push_back(std::move(next));
      afterSpace = 0;
    }
    if (c == U' ') afterSpace = lines.back().glyphs.size() + 1;
    Append(lines.back(), std::move(glyph));
  }
  return lines;
}

// Keeps kMaxLines lines, the last cut to end with an ellipsis within the width.
void CutWithEllipsis(std::vector<TextLine>& lines, GlyphCache& glyphs) {
  lines.resize(kMaxLines);
  const TextLine ellipsis = RenderLine(FirstDrawn({U"\u2026", U"..."}, glyphs), glyphs);
  TextLine& last = lines.back();
  while (!last.glyphs.empty() && last.width + ellipsis.width > kMaxTextWidth) {
    last.width -= last.glyphs.back().advance;
    last.glyphs.pop_back();
  }
  for (const Glyph& glyph : ellipsis.glyphs) Append(last, glyph);
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
  layout.lines = WrappedLines(DecodeUtf8(text), glyphs);
  if (layout.lines.size() > kMaxLines) CutWithEllipsis(layout.lines, glyphs);
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
