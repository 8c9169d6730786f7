// PNG frames read back with libpng.
#include "platform/graphics/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace vtrak {
namespace {

TEST(PngWriter, WritesTheColoursAndReportsAnUnwritablePath) {
  const uint32_t pixels[6] = {0xFF000000u, 0xFFFFFFFFu, 0xFF102030u,
                              0x80FF0000u, 0xFF00FF00u, 0xFF0000FFu};
  const testing::TempFolder folder;
  const std::string path = folder / "frame.png";
  ASSERT_TRUE(WritePng(path, pixels, 3, 2));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(rgb[3 * i], (pixels[i] >> 16) & 0xFF) << i;
    EXPECT_EQ(rgb[3 * i + 1], (pixels[i] >> 8) & 0xFF) << i;
    EXPECT_EQ(rgb[3 * i + 2], pixels[i] & 0xFF) << i;
  }

  std::string error;
  EXPECT_FALSE(WritePng("/nonexistent-folder/frame.png", pixels, 3, 2, &error));
  EXPECT_NE(error.find("/nonexistent-folder/frame.png"), std::string::npos) << error;
  EXPECT_FALSE(WritePng(path, nullptr, 3, 2, &error));
}

}  // namespace
}  // namespace vtrak
