#define OV_EXCLUDE_STATIC_CALLBACKS
#include "sound/ogg_conversion.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>

namespace vtrak {
namespace {

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool IsOggVorbisName(const char* path) {
  const size_t length = std::strlen(path);
  return length >= 2 && path[length - 2] == 'g';
}

void BuildCanonicalWavHeader(uint8_t header[44], int32_t channels, int32_t rate,
                             uint32_t totalSamples) {
  const uint32_t channelCount = static_cast<uint32_t>(channels);
  const uint32_t dataBytes = totalSamples * channelCount * 2u;
  const uint16_t blockAlign = static_cast<uint16_t>((channelCount & 0xFFFFu) * 2u);
  const uint32_t bytesPerSecond = blockAlign * static_cast<uint32_t>(rate);
  std::memcpy(header, "RIFF", 4);
  PutLittleEndian(header + 4, dataBytes + 36u, 4);
  std::memcpy(header + 8, "WAVEfmt ", 8);
  PutLittleEndian(header + 16, 16, 4);
  PutLittleEndian(header + 20, WAVE_FORMAT_PCM, 2);
  PutLittleEndian(header + 22, channelCount & 0xFFFFu, 2);
  PutLittleEndian(header + 24, static_cast<uint32_t>(rate), 4);
  PutLittleEndian(header + 28, bytesPerSecond, 4);
  PutLittleEndian(header + 32, blockAlign, 2);
  PutLittleEndian(header + 34, 16, 2);
  std::memcpy(header + 36, "data", 4);
  PutLittleEndian(header + 40, dataBytes, 4);
}

HRESULT ConvertOggToWav(SoundBank& bank, const char* path, int32_t slot) {
  std::FILE* input = std::fopen(path, "rb");
  if (input == nullptr) return S_OK;
  // The input is checked before the output is touched: a file that is not Ogg
  // Vorbis leaves "data/result.wav" and the slot as they were.
  OggVorbis_File decoder;
  if (ov_open(input, &decoder, nullptr, 0) < 0) {
    std::fclose(input);  // a failed open leaves the stream to its caller
    return S_OK;
  }
  // From here the decoder owns the input and ov_clear closes it.
  const vorbis_info* info = ov_info(&decoder, -1);
  // The old result gives way to a new file rather than being cut to nothing:
  // the file system then need not finish writing the old one first.
  if (info != nullptr) std::remove(kResultWavPath);
  std::FILE* output = info != nullptr ? std::fopen(kResultWavPath, "wb") : nullptr;
  if (output == nullptr) {
    ov_clear(&decoder);
    return S_OK;
  }

  const auto total = static_cast<uint32_t>(static_cast<uint64_t>(ov_pcm_total(&decoder, -1)));
  uint8_t header[44];
  BuildCanonicalWavHeader(header, info->channels, static_cast<int32_t>(info->rate), total);
  std::fwrite(header, 1, sizeof header, output);

  // Decoded blocks go straight to the file; a gap or a damaged part is
  // skipped and decoding goes on to the end.
  char block[kPcmBlockBytes];
  int bitstream = 0;
  for (;;) {
    const long bytes = ov_read(&decoder, block, kPcmBlockBytes, 0, 2, 1, &bitstream);
    if (bytes == 0) break;
    if (bytes > 0) std::fwrite(block, 1, static_cast<size_t>(bytes), output);
  }
  ov_clear(&decoder);
  std::fclose(output);

  LoadSound(bank, kResultWavPath, slot);
  return S_OK;
}

}  // namespace vtrak
