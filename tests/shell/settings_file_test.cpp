// The settings file: bad lines named and skipped, the command line over it,
// and a change that keeps every line the player wrote.
#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/setting_values.h"
#include "tests/support/temp_folder.h"

namespace vtrak {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SettingsFile, BadLinesAreNamedAndIgnoredAndTheCommandLineWins) {
  testing::TempFolder folder;
  const std::string said = folder / "said";
  std::FILE* errors = std::fopen(said.c_str(), "w");
  LaunchOptions options;
  ParseSettings(
      "# mine\n scale = 3 \nscale = 12\nrate=75\nfullscreen maybe\ncolour = red\n\n"
      "fullscreen = yes\r\n",
      "vtrak.conf", options, errors);
  std::fclose(errors);
  EXPECT_EQ(options.scale, 3);
  EXPECT_EQ(options.rate, 75);
  EXPECT_EQ(options.fullscreen, true);
  std::istringstream lines(Slurp(said));
  std::string line;
  for (const char* where : {"vtrak.conf:3: ", "vtrak.conf:5: ", "vtrak.conf:6: "}) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.rfind(std::string("vtrak: ") + where, 0), 0u) << line;
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;
  const LaunchOptions merged = Overlay(options, LaunchOptions{2, std::nullopt, std::nullopt});
  EXPECT_EQ(merged.scale, 2);
  EXPECT_EQ(merged.rate, 75);
}

TEST(SettingsFile, AToggleRewritesOnlyItsOwnLinesThroughALink) {
  testing::TempFolder folder;
  const std::string real = folder / "real.conf", link = folder / "vtrak.conf";
  std::ofstream(real) << "# scale for the big screen\nscale = 2\nfullscreen = false\nwho = me";
  std::filesystem::create_symlink(real, link);
  std::string why;
  ASSERT_TRUE(SaveSetting(link, "fullscreen", "true", why)) << why;
  ASSERT_TRUE(SaveSetting(link, "rate", "60", why)) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Slurp(real),
            "# scale for the big screen\nscale = 2\nfullscreen = true\nwho = me\n"
            "rate = 60\n");
  ASSERT_TRUE(SaveSetting(folder / "new/vtrak.conf", "fullscreen", "false", why)) << why;
  EXPECT_EQ(Slurp(folder / "new/vtrak.conf"), "fullscreen = false\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);
}

}  // namespace
}  // namespace vtrak
