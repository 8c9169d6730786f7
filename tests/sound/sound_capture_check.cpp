// Helper of the person-level sound test.
//   sound_capture_check write BGM.wav        writes a short stereo tune of noise
//   sound_capture_check loops CAPTURE BGM N  the capture holds BGM's samples in
//                                            order, N or more times round
//   sound_capture_check silent CAPTURE       the capture holds only silence
// CAPTURE is what OpenAL Soft's wave back end wrote: 16-bit or float samples.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/sound_test_files.h"

namespace {

using vtrak::test::Bytes;
using vtrak::test::ReadLittleEndian;

// The interleaved samples of a RIFF WAVE file as 16-bit values; an empty
// result when the file is not one.
std::vector<int32_t> Samples(const std::string& path, uint32_t& channels) {
  const Bytes file = vtrak::test::ReadFile(path);
  std::vector<int32_t> samples;
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0) return samples;
  uint32_t tag = 0, bits = 0;
  for (size_t at = 12; at + 8 <= file.size();) {
    const uint32_t size = ReadLittleEndian(file, at + 4, 4);
    if (std::memcmp(&file[at], "fmt ", 4) == 0) {
      tag = ReadLittleEndian(file, at + 8, 2);
      channels = ReadLittleEndian(file, at + 10, 2);
      bits = ReadLittleEndian(file, at + 22, 2);
      if (tag == 0xFFFE) tag = ReadLittleEndian(file, at + 32, 2);  // the sub-format's first field
    } else if (std::memcmp(&file[at], "data", 4) == 0) {
      // A capture cut short keeps a stale size: take what is there.
      const size_t end = size == 0 || at + 8 + size > file.size() ? file.size() : at + 8 + size;
      for (size_t i = at + 8; i + bits / 8 <= end; i += bits / 8) {
        if (tag == 1 && bits == 16) {
          samples.push_back(static_cast<int16_t>(ReadLittleEndian(file, i, 2)));
        } else if (tag == 3 && bits == 32) {
          const uint32_t raw = ReadLittleEndian(file, i, 4);
          float value = 0;
          std::memcpy(&value, &raw, 4);
          samples.push_back(static_cast<int32_t>(std::lround(value * 32768.0f)));
        }
      }
      return samples;
    }
    at += 8 + size + (size & 1u);
  }
  return samples;
}

int Write(const char* path) {
  constexpr uint32_t kFrames = 33075;  // 0.75 s
  Bytes file = vtrak::test::CanonicalWavHeader({1, 2, 44100, 176400, 4, 16, kFrames * 4});
  uint32_t state = 12345;
  for (uint32_t i = 0; i < kFrames * 2; ++i) {
    state = state * 1103515245u + 12345u;
    const auto value = static_cast<int16_t>(static_cast<int32_t>(state >> 16 & 0x3FFF) - 0x2000);
    vtrak::test::AppendLittleEndian(file, static_cast<uint16_t>(value), 2);
  }
  vtrak::test::WriteFile(path, file);
  return 0;
}

int Loops(const char* capturePath, const char* bgmPath, double wanted) {
  uint32_t captureChannels = 0, bgmChannels = 0;
  const std::vector<int32_t> capture = Samples(capturePath, captureChannels);
  const std::vector<int32_t> bgm = Samples(bgmPath, bgmChannels);
  if (capture.empty() || bgm.empty() || captureChannels != 2 || bgmChannels != 2) {
    std::fprintf(stderr, "FAIL: cannot read %s (%u channels) or %s\n", capturePath, captureChannels,
                 bgmPath);
    return 1;
  }
  // Where the tune's first 64 frames begin.
  size_t start = capture.size();
  for (size_t at = 0; at + 128 <= capture.size(); at += 2) {
    if (std::equal(bgm.begin(), bgm.begin() + 128, capture.begin() + static_cast<long>(at))) {
      start = at;
      break;
    }
  }
  if (start == capture.size()) {
    std::fprintf(stderr, "FAIL: the tune's start is nowhere in the capture\n");
    return 1;
  }
  size_t k = 0;
  while (start + k < capture.size() && capture[start + k] == bgm[k % bgm.size()]) ++k;
  const double loops = static_cast<double>(k) / static_cast<double>(bgm.size());
  std::printf("the tune plays from frame %zu for %.2f loops; the capture ends %zu frames later\n",
              start / 2, loops, (capture.size() - start - k) / 2);
  // Only the capture's end may stop the match, within one mixing period.
  if (loops < wanted || capture.size() - start - k > 2 * 4096) {
    std::fprintf(stderr, "FAIL: wanted %.1f unbroken loops to the end of the capture\n", wanted);
    return 1;
  }
  return 0;
}

int Silent(const char* capturePath) {
  uint32_t channels = 0;
  const std::vector<int32_t> capture = Samples(capturePath, channels);
  if (capture.size() < 44100) {
    std::fprintf(stderr, "FAIL: the capture %s holds %zu samples\n", capturePath, capture.size());
    return 1;
  }
  for (int32_t s : capture) {
    if (s != 0) {
      std::fprintf(stderr, "FAIL: the capture is not silent\n");
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "write" && argc == 3) return Write(argv[2]);
  if (mode == "loops" && argc == 5) return Loops(argv[2], argv[3], std::atof(argv[4]));
  if (mode == "silent" && argc == 3) return Silent(argv[2]);
  std::fputs("usage: sound_capture_check write BGM | loops CAPTURE BGM N | silent CAPTURE\n",
             stderr);
  return 2;
}
