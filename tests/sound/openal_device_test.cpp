// The OpenAL device on OpenAL Soft's null back end: buffers are made,
// filled, played in a loop and stopped as the bank asks.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/sound/openal_sound_device.h"

namespace vtrak {
namespace {

TEST(OpenAlSoundDevice, PlaysAndStopsALoopedBuffer) {
  // Before OpenAL reads its settings: no sound card needed.
  setenv("ALSOFT_DRIVERS", "null", 1);
  std::unique_ptr<DirectSound8> sound;
  ASSERT_EQ(OpenAlDirectSoundCreate8(sound), DS_OK);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE), DS_OK);

  const WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const DSBUFFERDESC description{kDsBufferDescSize, DSBCAPS_GLOBALFOCUS, 44100 * 4, 0, &format,
                                 GUID_NULL};
  std::unique_ptr<DirectSoundBuffer> interim;
  ASSERT_EQ(sound->CreateSoundBuffer(&description, interim), DS_OK);
  std::unique_ptr<DirectSoundBuffer8> buffer;
  ASSERT_EQ(interim->QueryInterface(IID_IDirectSoundBuffer8, buffer), DS_OK);
  interim.reset();

  void* region = nullptr;
  uint32_t bytes = 0;
  ASSERT_EQ(buffer->Lock(0, 44100 * 4, &region, &bytes, nullptr, nullptr, 0), DS_OK);
  static_cast<uint8_t*>(region)[0] = 0x10;
  EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), DS_OK);

  const WAVEFORMATEX mono8{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
  const DSBUFFERDESC tooBig{kDsBufferDescSize, 0, DSBSIZE_MAX + 1, 0, &mono8, GUID_NULL};
  EXPECT_NE(sound->CreateSoundBuffer(&tooBig, interim), DS_OK);

  EXPECT_EQ(buffer->Stop(), DS_OK);
  EXPECT_EQ(buffer->SetVolume(0), DS_OK);
  EXPECT_EQ(buffer->SetPan(0), DS_OK);
  EXPECT_EQ(buffer->SetCurrentPosition(0), DS_OK);
  EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  uint32_t status = 0;
  ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

  // Filling it again while it plays keeps it playing.
  ASSERT_EQ(buffer->Lock(0, 4, &region, &bytes, nullptr, nullptr, 0), DS_OK);
  EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), DS_OK);
  ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);

  EXPECT_EQ(buffer->Stop(), DS_OK);
  ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
}

}  // namespace
}  // namespace vtrak
