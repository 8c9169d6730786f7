// The window's size on scaled desktops and the picture's place in a larger
// output: whole screen pixels per game pixel, centred, black around.
#include "platform/window/display_geometry.h"

#include <gtest/gtest.h>

namespace vtrak {
namespace {

TEST(DisplayGeometry, ThePictureTakesTheLargestWholeScaleThatFitsCentred) {
  auto place = [](int width, int height) {
    const ImagePlace p = PlaceImage(640, 480, width, height);
    return std::vector<int>{p.scale, p.x, p.y, p.width, p.height};
  };
  EXPECT_EQ(place(640, 480), (std::vector<int>{1, 0, 0, 640, 480}));
  EXPECT_EQ(place(1400, 1000), (std::vector<int>{2, 60, 20, 1280, 960}));
  EXPECT_EQ(place(1920, 1080), (std::vector<int>{2, 320, 60, 1280, 960}));
  EXPECT_EQ(place(2560, 1440), (std::vector<int>{3, 320, 0, 1920, 1440}));
  EXPECT_EQ(place(960, 720), (std::vector<int>{1, 160, 120, 640, 480}));  // desktop at 150 %
  EXPECT_EQ(place(1279, 959), (std::vector<int>{1, 319, 239, 640, 480}));
}

TEST(DisplayGeometry, TheWindowIsLogicalSizeOrTheScaleAskedFor) {
  auto size = [](std::optional<int> scale, double desktop, int unit) {
    const WindowSize s = ClientAreaSize(640, 480, scale, desktop, unit);
    return std::pair(s.width, s.height);
  };
  EXPECT_EQ(size(std::nullopt, 1.0, 1), std::pair(640, 480));
  EXPECT_EQ(size(std::nullopt, 2.0, 1), std::pair(1280, 960));  // X11, GDK_SCALE=2
  EXPECT_EQ(size(std::nullopt, 1.25, 1), std::pair(800, 600));  // X11, 120 dpi
  EXPECT_EQ(size(std::nullopt, 1.0, 2), std::pair(640, 480));   // Wayland at 200 %
  EXPECT_EQ(size(3, 2.0, 1), std::pair(1920, 1440));            // the scale asked for wins
  EXPECT_EQ(size(3, 1.0, 2), std::pair(960, 720));              // 1920 by 1440 screen pixels
  EXPECT_EQ(DesktopScaleFrom("2", "Xft.dpi:\t192\n").factor, 2.0);
  EXPECT_EQ(DesktopScaleFrom(nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\n").factor, 1.5);
  EXPECT_EQ(DesktopScaleFrom("", "Xft.dpi:\t72\n").factor, 1.0);
  EXPECT_EQ(DesktopScaleFrom(nullptr, nullptr).factor, 1.0);
  // A value that is no scale is named and ignored: 1, or the X resources' scale.
  for (const char* junk : {"100", "99999", "0", "2x", "-2", "1e9", "9223372036854775808"}) {
    const DesktopScale scale = DesktopScaleFrom(junk, "Xft.dpi: 144\n");
    EXPECT_EQ(std::pair(scale.factor, scale.ignored.rfind("GDK_SCALE=", 0)), std::pair(1.5, 0ul));
  }
  for (const char* junk : {"Xft.dpi: 9600\n", "Xft.dpi: nan\n", "Xft.dpi: 1e308\n", "Xft.dpi: x"}) {
    const DesktopScale scale = DesktopScaleFrom(nullptr, junk);
    EXPECT_EQ(std::pair(scale.factor, scale.ignored.empty()), std::pair(1.0, false)) << junk;
  }
}

TEST(DisplayGeometry, AWindowTheScreenCannotHoldTakesTheLargestScaleThatFitsAndLiesOnIt) {
  EXPECT_EQ(FittingScale(640, 480, 1, 1280, 1024), 2);
  EXPECT_EQ(FittingScale(640, 480, 2, 1280, 720), 3);  // Wayland at 200 %: 960 by 720 units
  EXPECT_EQ(FittingScale(640, 480, 1, 600, 400), 1);
  // A window of 1280 by 960 with a frame of 1 and a title bar of 20.
  EXPECT_EQ(PlaceAlong(0, 1400, 1, 1280, 1), 60);
  EXPECT_EQ(PlaceAlong(24, 1000, 20, 960, 1), 53);  // below a panel of 24
  EXPECT_EQ(PlaceAlong(0, 980, 20, 960, 1), 20);    // the bottom edge off, the title bar on
  EXPECT_EQ(PlaceAlong(0, 1280, 1, 1280, 1), 0);    // the frame's sides off, the picture on
  EXPECT_EQ(PlaceAlong(0, 1000, 20, 1920, 1), 20);  // the title bar kept on
}

}  // namespace
}  // namespace vtrak
