#include "sound/sound_bank.h"

#include <cstring>

#include "platform/core/file_descriptor.h"
#include "platform/sound/openal_sound_device.h"
#include "platform/sound/sound_buffer_memory.h"
#include "sound/ogg_conversion.h"
#include "sound/wav_header_reader.h"

namespace vtrak {
namespace {

DSBUFFERDESC BufferDescription(const WAVEFORMATEX& format, uint32_t bytes) {
  DSBUFFERDESC description{};
  description.dwSize = kDsBufferDescSize;
  description.dwFlags =
      DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
  description.dwBufferBytes = bytes;
  description.dwReserved = 0;
  description.lpwfxFormat = &format;
  description.guid3DAlgorithm = GUID_NULL;
  return description;
}

}  // namespace

SoundBank* CreateSoundBank(const void* window) {
  return CreateSoundBank(window, OpenAlDirectSoundCreate8);
}

SoundBank* CreateSoundBank(const void* window,
                           const DirectSoundCreate8Function& directSoundCreate8) {
  // Every slot starts empty. There is no COM to initialise here.
  auto* bank = new SoundBank{};
  if (Succeeded(directSoundCreate8(bank->directSound)) && bank->directSound) {
    bank->directSound->SetCooperativeLevel(window, DSSCL_EXCLUSIVE);
  } else {
    bank->directSound.reset();
  }
  return bank;
}

void StartMusic(SoundBank& bank) {
  LoadSound(bank, kMusicFile, 0);
  DirectSoundBuffer8* music = bank.slots[0].get();
  if (music == nullptr) return;
  music->Stop();
  music->SetVolume(0);
  music->SetPan(0);
  music->SetCurrentPosition(0);
  music->Play(0, 0, DSBPLAY_LOOPING);
}

HRESULT LoadSound(SoundBank& bank, const char* path, int32_t slot, SoundLoadReport* report) {
  if (IsOggVorbisName(path)) {
    ConvertOggToWav(bank, path, slot, report);
    return S_OK;
  }
  SoundLoadReport local;
  SoundLoadReport& out = report != nullptr ? *report : local;
  out.error = SoundLoadError::None;
  out.detail = 0;
  if (slot < 0 || slot >= kSoundSlotCount) return E_FAIL;
  std::unique_ptr<DirectSoundBuffer8>& target = bank.slots[static_cast<size_t>(slot)];
  target.reset();

  bool notRegular = false;
  const FileDescriptor file = OpenRegularFile(path, out.detail, notRegular);
  if (!file) {
    out.error = notRegular ? SoundLoadError::NotARegularFile : SoundLoadError::CannotOpen;
    return E_FAIL;
  }
  return LoadWavFile(bank, file.get(), target, out);
}

HRESULT LoadWavFile(SoundBank& bank, int fd, std::unique_ptr<DirectSoundBuffer8>& buffer,
                    SoundLoadReport& out) {
  buffer.reset();
  BlockReader reader(fd);
  WavHeader header;
  if (!ReadWavHeader(reader, header)) {
    out.error = SoundLoadError::HeaderCutShort;
    return E_FAIL;
  }
  // The data arrive in one read; what a short file leaves unread stays silent.
  return LoadWavData(
      bank, header, [&reader](uint8_t* region, size_t bytes) { return reader.Read(region, bytes); },
      buffer, out);
}

HRESULT LoadWavData(SoundBank& bank, const WavHeader& header,
                    const std::function<size_t(uint8_t* region, size_t bytes)>& fill,
                    std::unique_ptr<DirectSoundBuffer8>& buffer, SoundLoadReport& out) {
  const auto fail = [&out](SoundLoadError error) {
    out.error = error;
    return E_FAIL;
  };
  buffer.reset();
  const WAVEFORMATEX format = DeriveWaveFormat(header);
  // The device checks the length before any memory is taken for it.
  const DSBUFFERDESC description = BufferDescription(format, header.dataLength);
  uint32_t bytes = 0;
  if (Failed(CheckBufferDescription(&description, bytes))) {
    return fail(SoundLoadError::FormatRefused);
  }
  if (!bank.directSound) return fail(SoundLoadError::NoSoundDevice);

  std::unique_ptr<DirectSoundBuffer> interim;
  if (const HRESULT created = bank.directSound->CreateSoundBuffer(&description, interim);
      Failed(created) || !interim) {
    return fail(created == DSERR_OUTOFMEMORY ? SoundLoadError::OutOfMemory
                                             : SoundLoadError::FormatRefused);
  }
  const HRESULT queried = interim->QueryInterface(IID_IDirectSoundBuffer8, buffer);
  interim.reset();
  if (Failed(queried) || !buffer) {
    buffer.reset();
    return fail(SoundLoadError::FormatRefused);
  }

  void* region = nullptr;
  uint32_t regionBytes = 0;
  // The region is written whole below: the file's bytes, then silence.
  if (Failed(buffer->Lock(0, header.dataLength, &region, &regionBytes, nullptr, nullptr,
                          DSBLOCK_OVERWRITE))) {
    return fail(SoundLoadError::LockRefused);  // the slot keeps the new, unfilled buffer
  }
  const size_t wanted = header.dataLength < regionBytes ? header.dataLength : regionBytes;
  auto* data = static_cast<uint8_t*>(region);
  const size_t read = fill(data, wanted);
  std::memset(data + read, header.bitsPerSample == 8 ? 0x80 : 0, regionBytes - read);
  buffer->Unlock(region, regionBytes, nullptr, 0);
  return S_OK;
}

}  // namespace vtrak
