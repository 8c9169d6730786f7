// The message box's picture: every line of its text drawn whole inside the
// white face, the OK button in the grey strip below.
#include "platform/window/message_box_drawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/core/utf8.h"
#include "platform/font/font_lookup.h"

namespace vtrak::testing {
namespace {

constexpr uint32_t kInk = 0xFF000000;

class MessageBoxDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<FontFile> file = FindFontFile("IPAPGothic", 400, false);
    ASSERT_TRUE(file.has_value()) << "no usable font face is installed";
    glyphs = GlyphCache::Open(file->path, file->index, -16);
    ASSERT_NE(glyphs, nullptr);
  }

  // The rows of `pixels` (a layout's picture) that hold ink between columns x0 and x1.
  static std::vector<int> InkedRows(const MessageBoxLayout& layout,
                                    const std::vector<uint32_t>& pixels, int x0, int x1) {
    std::vector<int> rows;
    for (int y = 0; y < layout.height; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (pixels[static_cast<size_t>(y * layout.width + x)] == kInk) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  }

  std::unique_ptr<GlyphCache> glyphs;
};

TEST_F(MessageBoxDrawing, EachLineIsDrawnWholeAboveTheButtonStrip) {
  const MessageBoxLayout layout = LayOutMessageBox(
      "多重起動ですよ！\r\nand a second line, rather longer than the first", *glyphs);
  ASSERT_EQ(layout.lines.size(), 2u);
  std::vector<uint32_t> pixels;
  DrawMessageBox(layout, false, pixels);
  ASSERT_EQ(pixels.size(), static_cast<size_t>(layout.width * layout.height));

  // The longer line sets the width and keeps the margins on both sides.
  const int longest = layout.lines[1].width;
  EXPECT_GT(longest, layout.lines[0].width);
  EXPECT_GE(layout.width, layout.textX * 2 + longest);
  for (int y = 0; y < layout.height; ++y) {
    for (int x = 0; x < layout.width; ++x) {
      if (pixels[static_cast<size_t>(y * layout.width + x)] != kInk) continue;
      const bool inText =
          y < layout.stripY && x >= layout.textX / 2 && x < layout.width - layout.textX / 2;
      EXPECT_TRUE(inText || layout.button.Contains(x, y)) << "ink at " << x << "," << y;
    }
  }
  // Both lines have ink, one cell apart, and no line is lost to the other.
  const std::vector<int> rows = InkedRows(layout, pixels, 0, layout.width);
  const auto inkIn = [&](int top) {
    for (const int y : rows) {
      if (y >= top && y < top + layout.cellHeight) return true;
    }
    return false;
  };
  EXPECT_TRUE(inkIn(layout.textY));
  EXPECT_TRUE(inkIn(layout.textY + layout.cellHeight));
  EXPECT_GE(layout.stripY, layout.textY + 2 * layout.cellHeight);
}

TEST_F(MessageBoxDrawing, AShortTextGetsAPlainDialogsWidthWithTheButtonCentred) {
  const MessageBoxLayout layout = LayOutMessageBox("認識？", *glyphs);
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_GE(layout.width, 200);
  EXPECT_EQ(layout.button.x * 2 + layout.button.width, layout.width);
  EXPECT_GT(layout.button.y, layout.stripY);
  EXPECT_LE(layout.button.y + layout.button.height, layout.height);

  // The label is drawn inside the button, and sinks a pixel when it is pushed in.
  std::vector<uint32_t> up, down;
  DrawMessageBox(layout, false, up);
  DrawMessageBox(layout, true, down);
  const BoxRect& b = layout.button;
  const std::vector<int> upRows = InkedRows(layout, up, b.x + 1, b.x + b.width - 1);
  const std::vector<int> downRows = InkedRows(layout, down, b.x + 1, b.x + b.width - 1);
  ASSERT_FALSE(upRows.empty());
  ASSERT_FALSE(downRows.empty());
  EXPECT_GT(upRows.front(), b.y);
  EXPECT_LT(upRows.back(), b.y + b.height - 1);
  EXPECT_EQ(downRows.front(), upRows.front() + 1);
}

TEST_F(MessageBoxDrawing, AnyTextFitsASmallScreenAndWhatTheFaceLacksShowsAsAMark) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "word \xF0\x9F\x98\x80\xFF ";
  const MessageBoxLayout layout = LayOutMessageBox(text + "\nlast", *glyphs);
  EXPECT_LE(layout.width, 640);
  EXPECT_LE(layout.height, 480);
  const MessageBoxLayout mark = LayOutMessageBox("\xF0\x9F\x98\x80", *glyphs);
  ASSERT_EQ(mark.lines.size(), 1u);
  ASSERT_EQ(mark.lines[0].glyphs.size(), 1u);
  EXPECT_FALSE(mark.lines[0].glyphs[0].runs.empty());
}

TEST(Utf8, MalformedSequencesBecomeOneReplacementEach) {
  EXPECT_EQ(DecodeUtf8("認識？"), U"認識？");
  EXPECT_EQ(DecodeUtf8("a\xF0\x9F\x98\x80z"), U"a\U0001F600z");
  // A stray continuation byte, an overlong "/", a cut sequence, a surrogate.
  EXPECT_EQ(DecodeUtf8("\x80|\xC0\xAF|\xE8\xAA|\xED\xA0\x80"),
            U"\uFFFD|\uFFFD\uFFFD|\uFFFD|\uFFFD");
}

}  // namespace
}  // namespace vtrak::testing
