#include "tools/music/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/music/synth.h"

namespace vtrak::music {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const char* text) {
  out.insert(out.end(), text, text + std::strlen(text));
}

int16_t ToSample(float value, float scale) {
  return static_cast<int16_t>(std::lround(static_cast<double>(value) * scale));
}

}  // namespace

bool WriteWav(const char* path, LoopMix& mix, double peak) {
  float loudest = 0.0f;
  for (size_t i = 0; i < mix.frames(); ++i) {
    loudest = std::max({loudest, std::fabs(mix.left(i)), std::fabs(mix.right(i))});
  }
  const float scale = loudest > 0.0f ? static_cast<float>(peak * 32767.0 / loudest) : 0.0f;

  const auto rate = static_cast<uint32_t>(kSampleRate);
  const auto dataBytes = static_cast<uint32_t>(mix.frames() * 4);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutText(out, "RIFF");
  Put(out, dataBytes + 36, 4);
  PutText(out, "WAVEfmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, 2, 2);  // stereo
  Put(out, rate, 4);
  Put(out, rate * 4, 4);
  Put(out, 4, 2);
  Put(out, 16, 2);
  PutText(out, "data");
  Put(out, dataBytes, 4);
  for (size_t i = 0; i < mix.frames(); ++i) {
    Put(out, static_cast<uint16_t>(ToSample(mix.left(i), scale)), 2);
    Put(out, static_cast<uint16_t>(ToSample(mix.right(i), scale)), 2);
  }

  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace vtrak::music
