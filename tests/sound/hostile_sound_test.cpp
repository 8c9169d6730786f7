// Sound files as a hostile user makes them: damaged Ogg streams that reach
// the decoder, a disk that fills up, and files that are not files. Whatever
// happens, the process goes on, nothing blocks, and the earlier
// data/result.wav and the slot survive every failure.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/file_descriptor.h"
#include "sound/ogg_conversion.h"
#include "tests/sound/sound_bank_fixture.h"
#include "tests/support/ogg_pages.h"

namespace vtrak::test {
namespace {

const Bytes kOldResult = {'R', 'I', 'F', 'F', 'o', 'l', 'd'};

// Bytes this process has read from files so far.
uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string field;
  uint64_t value = 0;
  while (io >> field >> value && field != "rchar:") {
  }
  return value;
}

class HostileSoundTest : public SoundBankTest {
 protected:
  HostileSoundTest() {
    std::filesystem::create_directory("data");
    Bytes nine = CanonicalWavHeader({1, 1, 8000, 8000, 1, 8, 4});
    nine.insert(nine.end(), {9, 9, 9, 9});
    WriteFile("nine.wav", nine);
  }

  // Converts `path` into slot 9 over an earlier result and checks what any
  // outcome must leave: the old result and slot, or a whole new result
  // whose header states exactly what follows it, in the slot.
  SoundLoadReport ConvertOverOldResult(const char* path) {
    WriteFile(kResultWavPath, kOldResult);
    EXPECT_EQ(LoadSound(bank(), "nine.wav", 9), S_OK);
    SoundLoadReport report;
    EXPECT_EQ(ConvertOggToWav(bank(), path, 9, &report), S_OK);
    const Bytes result = ReadFile(kResultWavPath);
    if (report.converted) {
      EXPECT_GE(result.size(), 44u);
      EXPECT_EQ(ReadLittleEndian(result, 4, 4), result.size() - 8);
      EXPECT_EQ(ReadLittleEndian(result, 40, 4), result.size() - 44);
    } else {
      EXPECT_EQ(result, kOldResult);
      EXPECT_EQ(ContentsOf(9), (Bytes{9, 9, 9, 9}));
    }
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("data"), {}), 1);
    return report;
  }
};

TEST_F(HostileSoundTest, DamagedOggStreamsCostNeitherTheProcessNorTheOldResult) {
  Bytes good;
  AppendOggStream(good, 2, 44100, 44100, 1);
  const std::vector<OggPage> pages = OggPages(good.data(), good.size());
  ASSERT_GE(pages.size(), 3u);
  const OggPage& setup = pages[1];  // the comment and setup headers
  const OggPage& last = pages.back();

  // Single-bit flips through the setup header, with the checksum resealed
  // so that the decoder takes the page: many of them crash it.
  for (size_t at = setup.offset + setup.headerBytes + 64; at < setup.end(); at += 97) {
    SCOPED_TRACE(at);
    Bytes damaged = good;
    damaged[at] ^= 0x10;
    ResealOggPage(damaged.data(), setup);
    WriteFile("flip.ogg", damaged);
    ConvertOverOldResult("flip.ogg");
  }
  // Cut off right after its headers: no sound at all.
  WriteFile("cut.ogg", Bytes(good.begin(), good.begin() + static_cast<long>(setup.end())));
  ConvertOverOldResult("cut.ogg");
  // A final granule position that claims no sound, a few samples, or days.
  for (const uint64_t granule : {0ull, 10ull, 1ull << 40}) {
    SCOPED_TRACE(granule);
    Bytes damaged = good;
    SetOggGranule(damaged.data(), last, granule);
    WriteFile("granule.ogg", damaged);
    ConvertOverOldResult("granule.ogg");
  }
}

TEST_F(HostileSoundTest, FullDiskKeepsTheOldResult) {
  Bytes ogg;
  AppendOggStream(ogg, 2, 44100, 44100, 1);  // 176400 bytes of sound
  WriteFile("music.ogg", ogg);
  // Files may not grow past 64 KiB; with SIGXFSZ ignored the write that
  // crosses the limit fails as a full disk's does.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{64 * 1024, saved.rlim_max};
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const SoundLoadReport report = ConvertOverOldResult("music.ogg");
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(report.converted);
  EXPECT_EQ(report.error, SoundLoadError::WriteFailed);
  EXPECT_EQ(report.detail, EFBIG);
}

TEST_F(HostileSoundTest, ConversionReadsOnceAndReplacesOnlyWithWhatLoads) {
  // Three channels decode, but no device takes them: nothing changes.
  Bytes three;
  AppendOggStream(three, 3, 8000, 8000, 1);
  WriteFile("three.ogg", three);
  EXPECT_FALSE(ConvertOverOldResult("three.ogg").converted);

  // A short file before 16 MiB without pages: read once, not once per block of the tail.
  Bytes head;
  AppendOggStream(head, 1, 8000, 8000, 1);
  WriteFile("tail.ogg", head);
  std::filesystem::resize_file("tail.ogg", 16u << 20);
  const FileDescriptor input(open("tail.ogg", O_RDONLY | O_CLOEXEC));
  const FileDescriptor output(open("out.wav", O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  const uint64_t before = BytesRead();
  EXPECT_EQ(DecodeOgg(input.get(), output.get()).error, SoundLoadError::None);
  EXPECT_LT(BytesRead() - before, 2u * (16u << 20));
}

// A decoder taken over by a hostile file: it claims more sound than it wrote.
OggDecodeSummary DecodeAndClaimMore(int inputFd, int outputFd) {
  OggDecodeSummary summary = DecodeOgg(inputFd, outputFd);
  summary.dataBytes += 4;
  return summary;
}

TEST_F(HostileSoundTest, ADecodingProcessIsTakenAtNoMoreThanItWrote) {
  Bytes ogg;
  AppendOggStream(ogg, 1, 8000, 8000, 1);
  WriteFile("music.ogg", ogg);
  WriteFile(kResultWavPath, kOldResult);
  SoundLoadReport report;
  EXPECT_EQ(ConvertOggToWav(bank(), "music.ogg", 9, &report, DecodeAndClaimMore), S_OK);
  EXPECT_EQ(report.error, SoundLoadError::DecoderLost);
  EXPECT_EQ(ReadFile(kResultWavPath), kOldResult);
}

TEST_F(HostileSoundTest, OnlyRegularFilesAreReadAndNothingBlocks) {
  alarm(30);  // a blocking open or an endless read ends the test here
  ASSERT_EQ(mkfifo("pipe.wav", 0600), 0);
  ASSERT_EQ(mkfifo("pipe.ogg", 0600), 0);
  std::filesystem::create_symlink("/dev/zero", "zero.wav");
  std::filesystem::create_symlink("/dev/zero", "zero.ogg");
  std::filesystem::create_directory("folder.wav");
  for (const char* name : {"pipe.wav", "zero.wav", "folder.wav"}) {
    SCOPED_TRACE(name);
    SoundLoadReport report;
    EXPECT_EQ(LoadSound(bank(), name, 9, &report), E_FAIL);
    EXPECT_EQ(report.error, SoundLoadError::NotARegularFile);
  }
  for (const char* name : {"pipe.ogg", "zero.ogg"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ConvertOverOldResult(name).error, SoundLoadError::NotARegularFile);
  }
  alarm(0);
}

}  // namespace
}  // namespace vtrak::test
