// The WAV header reader, over files written byte by byte.
#include "sound/wav_header_reader.h"

#include <fcntl.h>

#include "platform/core/file_descriptor.h"
#include "tests/sound/sound_bank_fixture.h"

namespace vtrak::test {
namespace {

using WavLoadTest = SoundBankTest;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(WavLoadTest, CanonicalFileIsReadAtItsOffsets) {
  // Mono, 8 bits, 11025 Hz: every field differs from the defaults.
  const Bytes data = RampBytes(1000);
  Bytes file = CanonicalWavHeader({1, 1, 11025, 11025, 1, 8, 1000});
  ASSERT_EQ(file.size(), 44u);
  WriteFile("a.wav", Concat(file, data));

  ASSERT_EQ(LoadSound(bank(), "a.wav", 3), S_OK);
  ASSERT_NE(Slot(3), nullptr);
  const WAVEFORMATEX format = FormatOf(3);
  EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.nChannels, 1);
  EXPECT_EQ(format.nSamplesPerSec, 11025u);
  EXPECT_EQ(format.wBitsPerSample, 8);
  EXPECT_EQ(format.cbSize, 0);
  EXPECT_EQ(ContentsOf(3), data);
  EXPECT_FALSE(Slot(3)->record().playing);  // loading plays nothing
  EXPECT_EQ(Slot(3)->record().unlocks, 1);
}

TEST_F(WavLoadTest, FormatTagIsIgnoredAndExtensionSkipped) {
  // Floating point is read as integer PCM.
  WriteFile("float.wav", Concat(CanonicalWavHeader({3, 2, 48000, 384000, 8, 16, 8}), RampBytes(8)));
  ASSERT_EQ(LoadSound(bank(), "float.wav", 0), S_OK);
  EXPECT_EQ(FormatOf(0).wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(FormatOf(0).wBitsPerSample, 16);
  EXPECT_EQ(FormatOf(0).nSamplesPerSec, 48000u);

  // An extensible format chunk: 22 more bytes before "data".
  Bytes file;
  AppendText(file, "RIFF");
  AppendLittleEndian(file, 0, 4);
  AppendText(file, "WAVEfmt ");
  AppendLittleEndian(file, 40, 4);
  AppendLittleEndian(file, 0xFFFE, 2);
  AppendLittleEndian(file, 2, 2);
  AppendLittleEndian(file, 22050, 4);
  AppendLittleEndian(file, 88200, 4);
  AppendLittleEndian(file, 4, 2);
  AppendLittleEndian(file, 16, 2);
  AppendLittleEndian(file, 22, 2);  // extension size
  AppendLittleEndian(file, 16, 2);  // valid bits
  AppendLittleEndian(file, 3, 4);   // speaker mask
  const uint8_t pcm[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  file.insert(file.end(), pcm, pcm + 16);
  AppendText(file, "data");
  AppendLittleEndian(file, 12, 4);
  WriteFile("ext.wav", Concat(file, RampBytes(12)));
  ASSERT_EQ(LoadSound(bank(), "ext.wav", 1), S_OK);
  EXPECT_EQ(FormatOf(1).nChannels, 2);
  EXPECT_EQ(FormatOf(1).nSamplesPerSec, 22050u);
  EXPECT_EQ(ContentsOf(1), RampBytes(12));
}

TEST_F(WavLoadTest, AlignmentAndRateAreDerivedFromLowBytes) {
  // Block alignment and byte rate that disagree, channels 0x0102 and bits
  // 0x0110: only the low bytes count, the rest is worked out.
  WriteFile("odd.wav",
            Concat(CanonicalWavHeader({1, 0x0102, 44100, 12345, 7, 0x0110, 16}), RampBytes(16)));
  ASSERT_EQ(LoadSound(bank(), "odd.wav", 0), S_OK);
  const WAVEFORMATEX format = FormatOf(0);
  EXPECT_EQ(format.nChannels, 2);
  EXPECT_EQ(format.wBitsPerSample, 16);
  EXPECT_EQ(format.nBlockAlign, 4);
  EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
}

TEST_F(WavLoadTest, PairInAnEarlierChunkEndsTheDataScan) {
  Bytes file = CanonicalWavHeader({1, 2, 44100, 176400, 4, 16, 8});
  file.resize(36);  // up to the end of the format chunk
  AppendText(file, "LIST");
  AppendLittleEndian(file, 8, 4);
  AppendText(file, "Metadata");
  AppendText(file, "data");
  AppendLittleEndian(file, 8, 4);
  WriteFile("list.wav", Concat(file, RampBytes(8)));

  const FileDescriptor in(open("list.wav", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(in);
  BlockReader reader(in.get());
  WavHeader header;
  EXPECT_TRUE(ReadWavHeader(reader, header));
  // The four bytes after "Meta" are "data": 0x61746164.
  EXPECT_EQ(header.dataLength, 0x61746164u);

  // The device cannot hold that much: the load fails at creation.
  EXPECT_EQ(LoadSound(bank(), "list.wav", 0), E_FAIL);
  EXPECT_EQ(Slot(0), nullptr);
  EXPECT_EQ(device_.buffersCreated, 0);
}

// The loader's reader is a local, and a page's C stack can be 64 KiB in all.
TEST_F(WavLoadTest, ReaderKeepsItsBlockOffTheStack) {
  EXPECT_LE(sizeof(BlockReader), 256u);
}

TEST_F(WavLoadTest, HeaderCutShortFailsAtEveryLength) {
  const Bytes whole = CanonicalWavHeader({1, 2, 44100, 176400, 4, 16, 4});
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    WriteFile("cut.wav", Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
    EXPECT_EQ(LoadSound(bank(), "cut.wav", 0), E_FAIL);
    EXPECT_EQ(Slot(0), nullptr);
  }
  EXPECT_EQ(device_.buffersCreated, 0);
  // The whole header is enough: its data are all missing, so all silent.
  WriteFile("cut.wav", whole);
  ASSERT_EQ(LoadSound(bank(), "cut.wav", 0), S_OK);
  EXPECT_EQ(ContentsOf(0), Bytes(4, 0));
}

TEST_F(WavLoadTest, ShortFileIsPaddedWithSilence) {
  // 8-bit stereo claiming 10 bytes, holding 3 of them.
  const Bytes present = {1, 2, 3};
  WriteFile("short.wav", Concat(CanonicalWavHeader({1, 2, 8000, 16000, 2, 8, 10}), present));
  ASSERT_EQ(LoadSound(bank(), "short.wav", 0), S_OK);
  EXPECT_EQ(ContentsOf(0), (Bytes{1, 2, 3, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));

  // 16-bit: an odd length is rounded up to whole blocks, the rest is zero.
  WriteFile("short16.wav", Concat(CanonicalWavHeader({1, 1, 8000, 16000, 2, 16, 5}), present));
  ASSERT_EQ(LoadSound(bank(), "short16.wav", 0), S_OK);
  EXPECT_EQ(ContentsOf(0), (Bytes{1, 2, 3, 0, 0, 0}));
}

}  // namespace
}  // namespace vtrak::test
