// The Ogg Vorbis conversion, over files encoded by the tests themselves.
#include "sound/ogg_conversion.h"

#include <fcntl.h>

#include <filesystem>

#include "platform/core/file_descriptor.h"
#include "sound/ogg_decode.h"
#include "tests/sound/sound_bank_fixture.h"

namespace vtrak::test {
namespace {

// The canonical header's fields that follow from the stream.
struct HeaderFields {
  uint32_t channels, rate, bytesPerSecond, blockAlign, dataBytes;
};

void ExpectCanonicalHeader(const Bytes& wav, const HeaderFields& want) {
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(Bytes(wav.begin(), wav.begin() + 16),
            (Bytes{'R', 'I', 'F', 'F', wav[4], wav[5], wav[6], wav[7], 'W', 'A', 'V', 'E', 'f', 'm',
                   't', ' '}));
  EXPECT_EQ(ReadLittleEndian(wav, 4, 4), want.dataBytes + 36u);
  EXPECT_EQ(ReadLittleEndian(wav, 16, 4), 16u);
  EXPECT_EQ(ReadLittleEndian(wav, 20, 2), 1u);
  EXPECT_EQ(ReadLittleEndian(wav, 22, 2), want.channels);
  EXPECT_EQ(ReadLittleEndian(wav, 24, 4), want.rate);
  EXPECT_EQ(ReadLittleEndian(wav, 28, 4), want.bytesPerSecond);
  EXPECT_EQ(ReadLittleEndian(wav, 32, 2), want.blockAlign);
  EXPECT_EQ(ReadLittleEndian(wav, 34, 2), 16u);
  EXPECT_EQ(Bytes(wav.begin() + 36, wav.begin() + 40), (Bytes{'d', 'a', 't', 'a'}));
  EXPECT_EQ(ReadLittleEndian(wav, 40, 4), want.dataBytes);
}

class OggConversionTest : public SoundBankTest {
 protected:
  OggConversionTest() { std::filesystem::create_directory("data"); }

  void WriteOgg(const std::string& path, int channels, long rate, long frames) {
    Bytes file;
    AppendOggStream(file, channels, rate, frames, 1);
    WriteFile(path, file);
  }
  // Slot 9 holds a sound that a failed conversion must leave in place.
  void FillSlotNine() {
    Bytes file = CanonicalWavHeader({1, 1, 8000, 8000, 1, 8, 4});
    file.insert(file.end(), {9, 9, 9, 9});
    WriteFile("nine.wav", file);
    ASSERT_EQ(LoadSound(bank(), "nine.wav", 9), S_OK);
  }
};

TEST_F(OggConversionTest, StereoFileGetsTheCanonicalHeaderAndLoads) {
  WriteOgg("music.ogg", 2, 44100, 441000);
  ASSERT_EQ(LoadSound(bank(), "music.ogg", 0), S_OK);
  const Bytes wav = ReadFile(kResultWavPath);
  // RIFF size 1764036, as the data size plus 36.
  ExpectCanonicalHeader(wav, {2, 44100, 176400, 4, 1764000});
  EXPECT_EQ(wav.size(), 44u + 1764000u);
  // The slot holds exactly the decoded samples.
  ASSERT_NE(Slot(0), nullptr);
  EXPECT_EQ(FormatOf(0).nChannels, 2);
  EXPECT_EQ(ContentsOf(0), Bytes(wav.begin() + 44, wav.end()));
}

TEST_F(OggConversionTest, MonoFileAtHalfRate) {
  WriteOgg("voice.ogg", 1, 22050, 220500);
  ASSERT_EQ(LoadSound(bank(), "voice.ogg", 1), S_OK);
  ExpectCanonicalHeader(ReadFile(kResultWavPath), {1, 22050, 44100, 2, 441000});
  ASSERT_NE(Slot(1), nullptr);
  EXPECT_EQ(FormatOf(1).nSamplesPerSec, 22050u);
}

TEST_F(OggConversionTest, ChainedFileStopsAtTheFirstLinkOfAnotherFormat) {
  // 2 s of stereo at 44100 Hz, then 1 s of mono at 22050 Hz, then stereo again.
  Bytes file;
  AppendOggStream(file, 2, 44100, 88200, 1);
  AppendOggStream(file, 1, 22050, 22050, 2);
  AppendOggStream(file, 2, 44100, 44100, 3);
  WriteFile("chain.ogg", file);
  SoundLoadReport report;
  ASSERT_EQ(LoadSound(bank(), "chain.ogg", 0, &report), S_OK);
  const Bytes wav = ReadFile(kResultWavPath);
  ExpectCanonicalHeader(wav, {2, 44100, 176400, 4, 88200u * 4u});
  EXPECT_EQ(wav.size(), 44u + 88200u * 4u);
  EXPECT_EQ(report.linksConverted, 1);
  EXPECT_EQ(report.nextChannels, 1);
  EXPECT_EQ(report.nextRate, 22050);
  ASSERT_NE(Slot(0), nullptr);
  EXPECT_EQ(ContentsOf(0), Bytes(wav.begin() + 44, wav.end()));
}

TEST_F(OggConversionTest, MissingOrForeignInputChangesNothing) {
  FillSlotNine();
  WriteFile(kResultWavPath, {'o', 'l', 'd'});

  EXPECT_EQ(ConvertOggToWav(bank(), "absent.ogg", 9), S_OK);
  EXPECT_EQ(ReadFile(kResultWavPath), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(ContentsOf(9), (Bytes{9, 9, 9, 9}));

  // Not Ogg Vorbis: a WAV file under an Ogg name. The program goes on.
  WriteFile("fake.ogg", ReadFile("nine.wav"));
  EXPECT_EQ(LoadSound(bank(), "fake.ogg", 9), S_OK);
  EXPECT_EQ(ReadFile(kResultWavPath), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(ContentsOf(9), (Bytes{9, 9, 9, 9}));
  EXPECT_EQ(device_.buffersCreated, 1);
}

TEST_F(OggConversionTest, NoDataFolderLoadsNothing) {
  std::filesystem::remove("data");
  FillSlotNine();
  WriteOgg("music.ogg", 1, 8000, 8000);
  EXPECT_EQ(LoadSound(bank(), "music.ogg", 9), S_OK);
  EXPECT_FALSE(std::filesystem::exists("data"));
  EXPECT_EQ(ContentsOf(9), (Bytes{9, 9, 9, 9}));
}

TEST_F(OggConversionTest, SoundBeyondWhatTheHeaderCanStateIsRefused) {
  WriteOgg("long.ogg", 1, 8000, 8000);
  const FileDescriptor input(open("long.ogg", O_RDONLY | O_CLOEXEC));
  const FileDescriptor output(open("out.wav", O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  ASSERT_TRUE(input && output);
  EXPECT_EQ(DecodeOgg(input.get(), output.get(), 15999).error, SoundLoadError::TooLongToLoad);
}

}  // namespace
}  // namespace vtrak::test
