// The requested-file path as the shell takes it from its arguments and drops.
#include "app/requested_file_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/command_line_options.h"

namespace vtrak {
namespace {

std::string FromArguments(std::vector<std::string> arguments) {
  std::vector<const char*> argv = {"vtrak"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  RequestedFilePath path;
  std::memset(path, 'x', sizeof path);
  RequestedPathFromArguments(static_cast<int>(argv.size()), argv.data(), path);
  return path;
}

TEST(RequestedFilePath, TakesTheCommandLineWithoutItsFirstAndLastCharacter) {
  EXPECT_EQ(FromArguments({}), "");
  EXPECT_EQ(FromArguments({"/home/me/song.ogg"}), "/home/me/song.ogg");
  EXPECT_EQ(FromArguments({"a b.wav"}), "a b.wav");
  EXPECT_EQ(FromArguments({""}), "");  // "" loses both quotes
  EXPECT_EQ(FromArguments({"one", "two"}), "one\" \"two");
}

TEST(RequestedFilePath, AnOverlongCommandLineIsCutInsideTheBuffer) {
  const std::string longPath(400, 'p');
  const std::string path = FromArguments({longPath});
  // The copy keeps 259 characters after the opening quote, then loses its last one.
  EXPECT_EQ(path, std::string(258, 'p'));
  const std::string exact(258, 'q');  // 260 characters with its quotes: fits whole
  EXPECT_EQ(FromArguments({exact}), exact);
}

TEST(RequestedFilePath, ADroppedFileReplacesThePathAndIsCut) {
  RequestedFilePath path = "old";
  StoreDroppedFile("/tmp/dropped.wav", path);
  EXPECT_STREQ(path, "/tmp/dropped.wav");
  StoreDroppedFile(std::string(300, 'd'), path);
  EXPECT_EQ(std::string(path), std::string(259, 'd'));
}

TEST(RequestedFilePath, LaunchOptionsComeBeforeThePathAndDoubleDashEndsThem) {
  auto parse = [](std::vector<const char*> argv, CommandLine& line) {
    argv.insert(argv.begin(), "vtrak");
    std::string why;
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), line, why);
  };
  CommandLine line;
  ASSERT_TRUE(parse({"--scale", "3", "--rate=60", "--fullscreen", "--", "--rate", "x"}, line));
  EXPECT_EQ(line.options.scale, 3);
  EXPECT_EQ(line.options.rate, 60);
  EXPECT_EQ(line.options.fullscreen, true);
  EXPECT_EQ(line.pathStart, 6);  // the path "--rate" "x" stays whole
  ASSERT_TRUE(parse({"--windowed", "song.ogg", "--scale", "2"}, line));
  EXPECT_EQ(line.options.fullscreen, false);
  EXPECT_FALSE(line.options.scale);
  EXPECT_EQ(line.pathStart, 2);
  ASSERT_TRUE(parse({"--version=2"}, line));  // not an option: a path
  EXPECT_EQ(line.pathStart, 1);
  for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
           {"--scale", "9"}, {"--scale=0"}, {"--rate", "1001"}, {"--rate", "-5"}, {"--rate"}}) {
    EXPECT_FALSE(parse(bad, line)) << bad[0];
  }
}

}  // namespace
}  // namespace vtrak
