// The settings file: bad lines named and skipped, the command line over it,
// and a change that keeps every line the player wrote.
#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

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
  // A byte order mark is passed over and kept; an invisible character in a key is named.
  LaunchOptions marked;
  errors = std::fopen(said.c_str(), "w");
  ParseSettings("\xEF\xBB\xBFscale = 4\nrate\xC2\xA0= 5\n", "vtrak.conf", marked, errors);
  std::fclose(errors);
  EXPECT_EQ(marked.scale, 4);
  EXPECT_NE(Slurp(said).find(":2: no setting is called 'rate\xC2\xA0' (holding U+00A0"), -1);
  EXPECT_EQ(WithSetting("\xEF\xBB\xBFscale = 2\n", "scale", "3"), "\xEF\xBB\xBFscale = 3\n");
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
  // A link to a file in a dotfiles folder that is not there yet stays a link.
  std::filesystem::create_symlink("dotfiles/vtrak.conf", folder / "dangling");
  ASSERT_TRUE(SaveSetting(folder / "dangling", "fullscreen", "true", why)) << why;
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "dangling"));
  EXPECT_EQ(Slurp(folder / "dotfiles/vtrak.conf"), "fullscreen = true\n");
}

TEST(SettingsFile, AFileTheRewriteWouldNotKeepAsItWasIsLeftAlone) {
  testing::TempFolder folder;
  const std::string path = folder / "vtrak.conf";
  std::string why;
  auto kept = [&](const std::string& text, mode_t mode, const char* reason) {
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
    EXPECT_FALSE(SaveSetting(path, "fullscreen", "true", why));
    EXPECT_NE(why.find(reason), std::string::npos) << why;
    EXPECT_EQ(Slurp(path), text);
    chmod(path.c_str(), 0600);
  };
  kept("scale = 2\n", 0444, "read-only");
  kept("#" + std::string(65528, 'x') + "\n", 0600, "64 KiB");  // the reader's own limit
  link(path.c_str(), (folder / "other").c_str());
  kept("scale = 2\n", 0600, "hard links");
  unlink((folder / "other").c_str());
  // Another user's file, rewritten by root, stays theirs.
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  chmod(path.c_str(), 0640);
  ASSERT_EQ(setxattr(path.c_str(), "user.mine", "kept", 4, 0), 0);
  ASSERT_TRUE(SaveSetting(path, "fullscreen", "true", why)) << why;
  struct stat status = {};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(std::vector<unsigned>({status.st_uid, status.st_gid, status.st_mode & 07777u}),
            std::vector<unsigned>({65534, 65534, 0640}));
  char value[8] = {};
  EXPECT_EQ(std::string(value, std::max<ssize_t>(0, getxattr(path.c_str(), "user.mine", value, 8))),
            "kept");
}

}  // namespace
}  // namespace vtrak
