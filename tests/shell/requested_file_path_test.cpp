// The requested-file path as the shell takes it from its arguments and drops.
#include "app/requested_file_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace vtrak
