// The bank: creation, the music, the Ogg dispatch and the failure rules.
#include "sound/sound_bank.h"

#include "sound/ogg_conversion.h"
#include "tests/sound/sound_bank_fixture.h"

namespace vtrak::test {
namespace {

void WriteWav(const std::string& path, uint32_t dataLength = 8) {
  Bytes file = CanonicalWavHeader({1, 2, 44100, 176400, 4, 16, dataLength});
  const Bytes data = RampBytes(dataLength);
  file.insert(file.end(), data.begin(), data.end());
  WriteFile(path, file);
}

TEST_F(SoundBankTest, CreationSetsTheLevelAndLeavesSlotsEmpty) {
  ASSERT_NE(bank().directSound, nullptr);
  EXPECT_EQ(device_.cooperativeWindow, &window_);
  EXPECT_EQ(device_.cooperativeLevel, DSSCL_EXCLUSIVE);
  for (const auto& slot : bank().slots) EXPECT_EQ(slot, nullptr);
}

TEST_F(SoundBankTest, MusicPlaysLoopedFromSlotZero) {
  WriteWav(kMusicFile);
  WriteWav("other.wav");
  ASSERT_EQ(LoadSound(bank(), "other.wav", 5), S_OK);
  StartMusic(bank());
  ASSERT_NE(Slot(0), nullptr);
  const MemoryBufferRecord& music = Slot(0)->record();
  EXPECT_TRUE(music.playing);
  EXPECT_TRUE(music.looping);
  EXPECT_EQ(music.volume, 0);
  EXPECT_EQ(music.pan, 0);
  EXPECT_EQ(music.position, 0u);
  EXPECT_EQ(music.stops, 1);
  EXPECT_FALSE(Slot(5)->record().playing);
}

TEST_F(SoundBankTest, NoMusicFileMeansSilence) {
  StartMusic(bank());
  EXPECT_EQ(Slot(0), nullptr);
  EXPECT_EQ(device_.buffersCreated, 0);
}

TEST(SoundBankWithoutDevice, EveryLoadFailsAndTheGameGoesOn) {
  ScratchDirectory scratch;
  WriteWav(kMusicFile);
  std::unique_ptr<SoundBank> bank(CreateSoundBank(nullptr, NoDeviceDirectSoundCreate8));
  EXPECT_EQ(bank->directSound, nullptr);
  EXPECT_EQ(LoadSound(*bank, kMusicFile, 0), E_FAIL);
  StartMusic(*bank);
  EXPECT_EQ(bank->slots[0], nullptr);
}

TEST_F(SoundBankTest, OggDispatchGoesBySecondToLastCharacter) {
  // A missing Ogg name is the conversion's: 0, and the slot keeps its sound.
  // A missing WAV name empties the slot and fails.
  WriteWav("keep.wav");
  struct Case {
    const char* name;
    bool converts;
  };
  for (const Case& c : {Case{"music.ogg", true}, Case{"x.gz", true}, Case{"music.OGG", false},
                        Case{"missing.wav", false}, Case{"g", false}, Case{"", false}}) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(LoadSound(bank(), "keep.wav", 7), S_OK);
    EXPECT_EQ(LoadSound(bank(), c.name, 7), c.converts ? S_OK : E_FAIL);
    EXPECT_EQ(Slot(7) != nullptr, c.converts);
  }
  // A one-character name holding a WAV file loads as WAV.
  WriteWav("g");
  EXPECT_EQ(LoadSound(bank(), "g", 7), S_OK);
  EXPECT_NE(Slot(7), nullptr);
  // And so does bgm.wav ('a' before the last).
  WriteWav(kMusicFile);
  EXPECT_EQ(LoadSound(bank(), kMusicFile, 7), S_OK);
  EXPECT_FALSE(IsOggVorbisName(kMusicFile));
  EXPECT_FALSE(IsOggVorbisName(kResultWavPath));
}

TEST_F(SoundBankTest, ReloadReleasesTheOldBufferEvenWhenTheOpenFails) {
  WriteWav("a.wav");
  ASSERT_EQ(LoadSound(bank(), "a.wav", 2), S_OK);
  ASSERT_EQ(LoadSound(bank(), "a.wav", 2), S_OK);
  EXPECT_EQ(device_.buffersCreated, 2);
  EXPECT_EQ(device_.buffersAlive, 1);
  EXPECT_EQ(LoadSound(bank(), "absent.wav", 2), E_FAIL);
  EXPECT_EQ(Slot(2), nullptr);
  EXPECT_EQ(device_.buffersAlive, 0);
}

TEST_F(SoundBankTest, DeviceFailuresLeaveTheSlotAsDescribed) {
  WriteWav("a.wav", 16);
  device_.refuseCreateBuffer = true;
  EXPECT_EQ(LoadSound(bank(), "a.wav", 0), E_FAIL);
  EXPECT_EQ(Slot(0), nullptr);

  device_.refuseCreateBuffer = false;
  device_.refuseQueryInterface = true;
  EXPECT_EQ(LoadSound(bank(), "a.wav", 0), E_FAIL);
  EXPECT_EQ(Slot(0), nullptr);
  EXPECT_EQ(device_.buffersAlive, 0);  // the interim took its buffer with it

  // A failed lock keeps the new buffer, unfilled, and the music plays it.
  device_.refuseQueryInterface = false;
  device_.refuseLock = true;
  WriteWav(kMusicFile, 16);
  StartMusic(bank());
  ASSERT_NE(Slot(0), nullptr);
  EXPECT_EQ(ContentsOf(0), Bytes(16, 0));
  EXPECT_TRUE(Slot(0)->record().playing);

  // Formats and lengths the device cannot hold fail at creation.
  device_.refuseLock = false;
  for (const WavFields& fields :
       {WavFields{1, 3, 44100, 0, 0, 16, 8}, WavFields{1, 2, 44100, 0, 0, 24, 8},
        WavFields{1, 2, 99, 0, 0, 16, 8}, WavFields{1, 2, 44100, 0, 0, 16, 0}}) {
    WriteFile("bad.wav", CanonicalWavHeader(fields));
    EXPECT_EQ(LoadSound(bank(), "bad.wav", 4), E_FAIL);
    EXPECT_EQ(Slot(4), nullptr);
  }
}

}  // namespace
}  // namespace vtrak::test
