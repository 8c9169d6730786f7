// What a sound device accepts, and what its buffers hand out.
#include <gtest/gtest.h>

#include "platform/sound/memory_sound_device.h"

namespace vtrak {
namespace {

WAVEFORMATEX Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  const auto align = static_cast<uint16_t>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, align * rate, align, bits, 0};
}

DSBUFFERDESC Description(const WAVEFORMATEX& format, uint32_t bytes) {
  return {kDsBufferDescSize, DSBCAPS_GLOBALFOCUS, bytes, 0, &format, GUID_NULL};
}

class SoundDeviceTest : public ::testing::Test {
 protected:
  SoundDeviceTest() { CreateMemoryDirectSound(device_, sound_); }

  // The created buffer, or null with the failure in `result`.
  std::unique_ptr<DirectSoundBuffer8> Create(const WAVEFORMATEX& format, uint32_t bytes,
                                             HRESULT& result) {
    const DSBUFFERDESC description = Description(format, bytes);
    std::unique_ptr<DirectSoundBuffer> interim;
    std::unique_ptr<DirectSoundBuffer8> buffer;
    result = sound_->CreateSoundBuffer(&description, interim);
    if (Succeeded(result)) result = interim->QueryInterface(IID_IDirectSoundBuffer8, buffer);
    return buffer;
  }

  MemorySoundDevice device_;
  std::unique_ptr<DirectSound8> sound_;
};

TEST_F(SoundDeviceTest, AcceptsOnlyWhatItCanPlay) {
  struct Case {
    WAVEFORMATEX format;
    uint32_t bytes;
    bool accepted;
  };
  WAVEFORMATEX floatFormat = Pcm(2, 44100, 32);
  floatFormat.wFormatTag = 3;
  WAVEFORMATEX misaligned = Pcm(2, 44100, 16);
  misaligned.nBlockAlign = 2;
  const Case cases[] = {
      {Pcm(1, 100, 8), 4, true},      {Pcm(2, 200000, 16), DSBSIZE_MAX, true},
      {Pcm(0, 44100, 16), 64, false}, {Pcm(3, 44100, 16), 64, false},
      {Pcm(2, 44100, 24), 64, false}, {Pcm(2, 44100, 0), 64, false},
      {Pcm(2, 99, 16), 64, false},    {Pcm(2, 200001, 16), 64, false},
      {Pcm(1, 8000, 8), 3, false},    {Pcm(1, 8000, 8), DSBSIZE_MAX + 1, false},
      {floatFormat, 64, false},       {misaligned, 64, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format.nChannels << " ch " << c.format.wBitsPerSample
                                    << " bit " << c.format.nSamplesPerSec << " Hz " << c.bytes);
    HRESULT result = S_OK;
    const auto buffer = Create(c.format, c.bytes, result);
    EXPECT_EQ(Succeeded(result), c.accepted);
    EXPECT_EQ(buffer != nullptr, c.accepted);
  }
}

TEST_F(SoundDeviceTest, NewBufferIsWholeBlocksOfSilence) {
  HRESULT result = S_OK;
  auto* eight = static_cast<MemorySoundBuffer*>(Create(Pcm(2, 8000, 8), 5, result).release());
  std::unique_ptr<MemorySoundBuffer> eightOwner(eight);
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(eight->memory().size(), 6u);  // rounded up to 2-byte blocks
  for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(eight->memory().data()[i], 0x80);

  const auto sixteen = Create(Pcm(2, 8000, 16), 6, result);
  DSBCAPS caps{};
  ASSERT_EQ(sixteen->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwBufferBytes, 8u);
  void* region = nullptr;
  uint32_t bytes = 0;
  ASSERT_EQ(sixteen->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
  EXPECT_EQ(bytes, 8u);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(static_cast<uint8_t*>(region)[i], 0);
  EXPECT_EQ(sixteen->Unlock(region, bytes, nullptr, 0), DS_OK);
}

TEST_F(SoundDeviceTest, LockWrapsPastTheEndAndUnlockWantsItsRegion) {
  HRESULT result = S_OK;
  const auto buffer = Create(Pcm(1, 8000, 8), 16, result);
  void *first = nullptr, *second = nullptr;
  uint32_t firstBytes = 0, secondBytes = 0;
  ASSERT_EQ(buffer->Lock(12, 8, &first, &firstBytes, &second, &secondBytes, DSBLOCK_OVERWRITE),
            DS_OK);
  EXPECT_EQ(firstBytes, 4u);
  EXPECT_EQ(secondBytes, 4u);
  EXPECT_EQ(static_cast<uint8_t*>(second) + 12, static_cast<uint8_t*>(first));
  EXPECT_NE(buffer->Lock(0, 4, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);  // still locked
  int elsewhere = 0;
  EXPECT_NE(buffer->Unlock(&elsewhere, 4, nullptr, 0), DS_OK);
  EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
  // An overwriting Lock leaves what it did not hand out silent.
  const uint8_t* data = static_cast<MemorySoundBuffer&>(*buffer).memory().data();
  for (int i = 4; i < 12; ++i) EXPECT_EQ(data[i], 0x80) << i;
  EXPECT_NE(buffer->Lock(0, 17, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
  EXPECT_NE(buffer->Lock(16, 1, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
}

}  // namespace
}  // namespace vtrak
