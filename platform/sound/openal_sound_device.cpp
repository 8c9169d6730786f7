#include "platform/sound/openal_sound_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <utility>

#include "platform/sound/quiet_sound_libraries.h"
#include "platform/sound/sound_buffer_memory.h"

namespace vtrak {
namespace {

// The opened device and its context, shared by the DirectSound object and
// every buffer made from it, so the last of them closes the device.
struct AlOutput {
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  bool directChannels = false;

  ~AlOutput() {
    if (context != nullptr) {
      if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
      alcDestroyContext(context);
    }
    if (device != nullptr) alcCloseDevice(device);
  }
};

ALenum AlFormat(const WAVEFORMATEX& format) {
  if (format.nChannels == 1) return format.wBitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  return format.wBitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

class OpenAlSoundBuffer final : public DirectSoundBuffer8 {
 public:
  OpenAlSoundBuffer(std::shared_ptr<AlOutput> output, SoundBufferMemory memory, ALuint buffer,
                    ALuint source)
      : output_(std::move(output)), memory_(std::move(memory)), buffer_(buffer), source_(source) {
    // Full gain and centre: a source at the listener, moving with it.
    alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
    if (output_->directChannels) alSourcei(source_, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
  }

  ~OpenAlSoundBuffer() override {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &buffer_);
  }

  OpenAlSoundBuffer(const OpenAlSoundBuffer&) = delete;
  OpenAlSoundBuffer& operator=(const OpenAlSoundBuffer&) = delete;

  HRESULT GetFormat(WAVEFORMATEX* format) override {
    if (format == nullptr) return DSERR_INVALIDPARAM;
    *format = memory_.format();
    return DS_OK;
  }

  HRESULT GetCaps(DSBCAPS* caps) override {
    if (caps == nullptr) return DSERR_INVALIDPARAM;
    caps->dwFlags =
        DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
    caps->dwBufferBytes = memory_.size();
    return DS_OK;
  }

  HRESULT GetStatus(uint32_t* status) override {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    *status = 0;
    if (SourceState() == AL_PLAYING) {
      ALint looping = AL_FALSE;
      alGetSourcei(source_, AL_LOOPING, &looping);
      *status = DSBSTATUS_PLAYING | (looping == AL_TRUE ? DSBSTATUS_LOOPING : 0u);
    }
    return DS_OK;
  }

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* region1Bytes,
               void** region2, uint32_t* region2Bytes, uint32_t flags) override {
    return memory_.Lock(offset, bytes, region1, region1Bytes, region2, region2Bytes, flags);
  }

  HRESULT Unlock(void* region1, uint32_t region1Bytes, void* region2,
                 uint32_t region2Bytes) override {
    const HRESULT hr = memory_.Unlock(region1, region1Bytes, region2, region2Bytes);
    if (Failed(hr)) return hr;
    return Upload();
  }

  HRESULT Stop() override {
    // Stop keeps the play position, as a pause does.
    if (SourceState() == AL_PLAYING) alSourcePause(source_);
    return DS_OK;
  }

  HRESULT SetVolume(int32_t volume) override {
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    alSourcef(source_, AL_GAIN, static_cast<ALfloat>(std::pow(10.0, volume / 2000.0)));
    return DS_OK;
  }

  HRESULT SetPan(int32_t pan) override {
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    // A mono sound moves along the arc in front of the listener; a stereo
    // sound goes straight to the two outputs and stays centred.
    const float x = static_cast<float>(pan) / static_cast<float>(DSBPAN_RIGHT);
    alSource3f(source_, AL_POSITION, x, 0.0f, -std::sqrt(1.0f - x * x));
    return DS_OK;
  }

  HRESULT SetCurrentPosition(uint32_t position) override {
    if (position >= memory_.size()) return DSERR_INVALIDPARAM;
    const uint32_t align = memory_.format().nBlockAlign;
    position_ = position / align * align;
    if (uploaded_) alSourcei(source_, AL_BYTE_OFFSET, static_cast<ALint>(position_));
    return DS_OK;
  }

  HRESULT Play(uint32_t, uint32_t, uint32_t flags) override {
    if (!uploaded_) {
      if (const HRESULT hr = Upload(); Failed(hr)) return hr;
    }
    alSourcei(source_, AL_LOOPING, (flags & DSBPLAY_LOOPING) != 0 ? AL_TRUE : AL_FALSE);
    if (SourceState() != AL_PLAYING) alSourcePlay(source_);
    return alGetError() == AL_NO_ERROR ? DS_OK : DSERR_GENERIC;
  }

 private:
  ALint SourceState() const {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state;
  }

  // Hands the buffer's memory to OpenAL. A buffer in use by its source cannot
  // take new data, so the source lets go of it and takes it back at the same
  // place, playing on if it was playing.
  HRESULT Upload() {
    alGetError();
    const ALint state = SourceState();
    ALint offset = static_cast<ALint>(position_);
    if (uploaded_) {
      alGetSourcei(source_, AL_BYTE_OFFSET, &offset);
      alSourceStop(source_);
      alSourcei(source_, AL_BUFFER, 0);
    }
    const WAVEFORMATEX& format = memory_.format();
    alBufferData(buffer_, AlFormat(format), memory_.data(), static_cast<ALsizei>(memory_.size()),
                 static_cast<ALsizei>(format.nSamplesPerSec));
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    alSourcei(source_, AL_BYTE_OFFSET, offset);
    if (state == AL_PLAYING) alSourcePlay(source_);
    if (alGetError() != AL_NO_ERROR) return DSERR_GENERIC;
    uploaded_ = true;
    return DS_OK;
  }

  std::shared_ptr<AlOutput> output_;
  SoundBufferMemory memory_;
  ALuint buffer_;
  ALuint source_;
  uint32_t position_ = 0;
  bool uploaded_ = false;
};

class OpenAlDirectSound final : public DirectSound8 {
 public:
  explicit OpenAlDirectSound(std::shared_ptr<AlOutput> output) : output_(std::move(output)) {}

  // Sound is heard whichever window has the focus; the level changes nothing.
  HRESULT SetCooperativeLevel(const void*, uint32_t) override { return DS_OK; }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* description,
                            std::unique_ptr<DirectSoundBuffer>& result) override {
    result.reset();
    uint32_t bytes = 0;
    if (const HRESULT hr = CheckBufferDescription(description, bytes); Failed(hr)) return hr;
    SoundBufferMemory memory;
    if (const HRESULT hr = memory.Allocate(*description->lpwfxFormat, bytes); Failed(hr)) {
      return hr;
    }
    alcMakeContextCurrent(output_->context);
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return DSERR_OUTOFMEMORY;
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &buffer);
      return DSERR_OUTOFMEMORY;
    }
    result = std::make_unique<InterimSoundBuffer>(
        std::make_unique<OpenAlSoundBuffer>(output_, std::move(memory), buffer, source), false);
    return DS_OK;
  }

 private:
  std::shared_ptr<AlOutput> output_;
};

}  // namespace

HRESULT OpenAlDirectSoundCreate8(std::unique_ptr<DirectSound8>& result) {
  result.reset();
  auto output = std::make_shared<AlOutput>();
  {
    // No sound card is no fault here: the caller says so in its own words.
    const QuietSoundLibraries quiet;
    output->device = alcOpenDevice(nullptr);
    if (output->device == nullptr) return DSERR_NODRIVER;
    output->context = alcCreateContext(output->device, nullptr);
  }
  if (output->context == nullptr || alcMakeContextCurrent(output->context) == ALC_FALSE) {
    return DSERR_NODRIVER;
  }
  output->directChannels = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
  result = std::make_unique<OpenAlDirectSound>(std::move(output));
  return DS_OK;
}

}  // namespace vtrak
