// Outlined text through the real Canvas and the font stand-in.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/font/font_lookup.h"
#include "tests/render/render_fixture.h"
#include "tests/support/temp_folder.h"

namespace vtrak::testing {
namespace {

class CanvasText : public CanvasFixture {
 protected:
  void SetUp() override {
    CanvasFixture::SetUp();
    CreateCanvasFont(canvas);
    ASSERT_NE(canvas.fonts[0], nullptr) << "no usable font face is installed";
  }

  // The pixels the font alone lights for `text` in a box at (x, y).
  PixelSet GlyphPixels(int x, int y, const char* text) {
    BeginFrame();
    const RECT box{x, y, x + 640, y + 128};
    canvas.fonts[0]->DrawTextA(nullptr, text, -1, &box, DT_LEFT | DT_TOP, kBlack);
    PixelSet glyphs = PixelsOf(kBlack);
    BeginFrame();
    return glyphs;
  }

  static PixelSet Shifted(const PixelSet& pixels, int dx, int dy) {
    PixelSet out;
    for (const auto& [x, y] : pixels) out.insert({x + dx, y + dy});
    return out;
  }
};

TEST_F(CanvasText, TheJapaneseGothicFaceHasThe14PixelCellOfWindows) {
  const std::optional<FontFile> file = FindFontFile("ＭＳ Ｐゴシック", 400, false);
  ASSERT_TRUE(file.has_value());
  EXPECT_NE(file->path.find("ipagp"), std::string::npos) << file->path;
  const GlyphCache& glyphs = canvas.fonts[0]->glyphs();
  EXPECT_EQ(glyphs.pixelsPerEm(), 13);
  EXPECT_EQ(glyphs.ascent(), 11);
  EXPECT_EQ(glyphs.cellHeight(), 14);

  // A face nobody has still gives a proportional sans face to draw with.
  const auto expectProportional = [](const std::optional<FontFile>& fallback) {
    ASSERT_TRUE(fallback.has_value());
    auto cache = GlyphCache::Open(fallback->path, fallback->index, 14);
    ASSERT_NE(cache, nullptr);
    EXPECT_NE(cache->Get('i').advance, cache->Get('W').advance) << fallback->path;
  };
  expectProportional(FindFontFile("No Such Face At All", 400, false));

  // So does the Windows name on a desktop without IPAPGothic: here one whose
  // fonts are the TrueType ones: DejaVu, Droid, Noto and the dual-width
  // IPAGothic.
  const TempFolder folder;
  const std::string conf = folder / "fonts.conf";
  {
    std::ofstream out(conf);
    out << "<fontconfig><dir>/usr/share/fonts/truetype</dir><cachedir>" << folder / "cache"
        << "</cachedir></fontconfig>";
  }
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  const std::optional<FontFile> withoutAlias = FindFontFile("ＭＳ Ｐゴシック", 400, false);
  unsetenv("FONTCONFIG_FILE");
  expectProportional(withoutAlias);
  ASSERT_TRUE(withoutAlias.has_value());
  EXPECT_NE(withoutAlias->path.find("Sans"), std::string::npos) << withoutAlias->path;
}

TEST_F(CanvasText, FigureIsBlackRingedByWhiteWithoutDiagonalCopies) {
  const PixelSet glyphs = GlyphPixels(16, 16, "mE");
  ASSERT_FALSE(glyphs.empty());
  int top = 480, bottom = 0, left = 640;
  for (const auto& [x, y] : glyphs) {
    top = std::min(top, y);
    bottom = std::max(bottom, y);
    left = std::min(left, x);
  }
  // Inside the 14-pixel cell at (16, 16), standing on the baseline row 11.
  EXPECT_GE(top, 16);
  EXPECT_EQ(bottom, 16 + 11 - 1);
  EXPECT_GE(left, 16);

  DrawOutlinedText(canvas, 16, 16, "mE");
  PixelSet rim;
  for (const auto& shift : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
    rim.merge(Shifted(glyphs, shift.first, shift.second));
  }
  for (const auto& pixel : glyphs) rim.erase(pixel);
  EXPECT_EQ(PixelsOf(kBlack), glyphs);
  EXPECT_EQ(PixelsOf(kWhite), rim);
  PixelSet everything = glyphs;
  everything.insert(rim.begin(), rim.end());
  EXPECT_EQ(Drawn(), everything);  // in particular no diagonal copy
}

TEST_F(CanvasText, TextCoversALineDrawnBefore) {
  const PixelSet glyphs = GlyphPixels(16, 16, "mE");
  const int row = std::next(glyphs.begin(), static_cast<long>(glyphs.size() / 2))->second;
  DrawLine(canvas, kWhite, 0, row, 639, row);
  DrawOutlinedText(canvas, 16, 16, "mE");
  int covered = 0;
  for (const auto& [x, y] : glyphs) {
    if (y != row) continue;
    EXPECT_EQ(Pixel(x, y), kBlack) << x;
    ++covered;
  }
  EXPECT_GT(covered, 0);
  EXPECT_EQ(Pixel(639, row), kWhite);
}

TEST_F(CanvasText, EachPassIsCutAtItsOwnBox) {
  // Twelve lines are 168 pixels: the black pass ends at y + 128, the lowest
  // white copy one row further down. The bar reaches through the whole cell
  // but its top row, so the tenth line (at y + 126) is cut inside its glyph.
  std::string lines;
  for (int i = 0; i < 12; ++i) lines += "|\n";
  DrawOutlinedText(canvas, 100, 50, lines.c_str());
  int lowestBlack = 0;
  int lowestWhite = 0;
  for (const auto& [x, y] : PixelsOf(kBlack)) lowestBlack = std::max(lowestBlack, y);
  for (const auto& [x, y] : PixelsOf(kWhite)) lowestWhite = std::max(lowestWhite, y);
  EXPECT_EQ(lowestBlack, 50 + 127);
  EXPECT_EQ(lowestWhite, 50 + 128);

  // Cut on the right at x + 640, the right copy at x + 641.
  BeginFrame();
  const std::string wide(120, 'W');
  DrawOutlinedText(canvas, -600, 100, wide.c_str());
  ASSERT_FALSE(PixelsOf(kBlack).empty());
  int rightmostBlack = 0;
  int rightmostWhite = 0;
  for (const auto& [x, y] : PixelsOf(kBlack)) rightmostBlack = std::max(rightmostBlack, x);
  for (const auto& [x, y] : PixelsOf(kWhite)) rightmostWhite = std::max(rightmostWhite, x);
  EXPECT_EQ(rightmostBlack, 39);
  EXPECT_EQ(rightmostWhite, 40);

  // At the bottom of the client area the text is cut, never wrapped to the top.
  BeginFrame();
  DrawOutlinedText(canvas, 10, 470, "HIJ\nHIJ");
  ASSERT_FALSE(Drawn().empty());
  for (const auto& [x, y] : Drawn()) EXPECT_GE(y, 469);
}

TEST_F(CanvasText, LineBreaksStartANewLineOneCellDown) {
  const PixelSet one = GlyphPixels(20, 20, "E");
  const PixelSet two = GlyphPixels(20, 20, "\nE");
  EXPECT_EQ(two, Shifted(one, 0, 14));
  EXPECT_EQ(GlyphPixels(20, 20, "\r\nE"), two);
}

TEST_F(CanvasText, EmptyTextOrNoFontDrawsNothing) {
  DrawOutlinedText(canvas, 16, 16, "");
  EXPECT_TRUE(Drawn().empty());

  // A box at the far end of the coordinates wraps to nothing, harmlessly.
  DrawOutlinedText(canvas, INT32_MAX - 10, INT32_MAX - 10, std::string(500, 'W').c_str());
  DrawOutlinedText(canvas, INT32_MIN, INT32_MIN, "mE");
  EXPECT_TRUE(Drawn().empty());

  canvas.fonts[0].reset();
  DrawOutlinedText(canvas, 16, 16, "mE");
  EXPECT_TRUE(Drawn().empty());
}

}  // namespace
}  // namespace vtrak::testing
