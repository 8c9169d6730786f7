// The music the build composes: its format, length, level and seam.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/core/file_descriptor.h"
#include "sound/wav_header_reader.h"
#include "tests/support/sound_test_files.h"

namespace vtrak::test {
namespace {

TEST(Music, IsALoudEnoughLoopThatNeverClips) {
  const FileDescriptor file(open(VTRAK_BGM_PATH, O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(file) << VTRAK_BGM_PATH;
  BlockReader reader(file.get());
  WavHeader header;
  ASSERT_TRUE(ReadWavHeader(reader, header));
  std::vector<int16_t> samples(header.dataLength / 2);
  const size_t bytes = samples.size() * 2;
  ASSERT_EQ(reader.Read(reinterpret_cast<uint8_t*>(samples.data()), bytes), bytes);

  EXPECT_EQ(header.channels, 2);
  EXPECT_EQ(header.sampleRate, 44100u);
  EXPECT_EQ(header.bitsPerSample, 16);
  const double seconds = static_cast<double>(header.dataLength) / 176400.0;
  EXPECT_GE(seconds, 30.0);
  EXPECT_LE(seconds, 60.0);

  // Peaks below -1 dBFS, and a level well above silence.
  const int ceiling = static_cast<int>(32768.0 * std::pow(10.0, -1.0 / 20.0));
  int peak = 0;
  double power = 0.0;
  for (int16_t s : samples) {
    peak = std::max(peak, std::abs(static_cast<int>(s)));
    power += static_cast<double>(s) * s;
  }
  EXPECT_LT(peak, ceiling);
  EXPECT_GT(std::sqrt(power / static_cast<double>(samples.size())), 1000.0);

  // The seam: carrying each channel on in a straight line from its last two
  // samples lands as near the first sample as such a guess lands anywhere
  // close to the seam. A cut note would miss by far more.
  const size_t frames = samples.size() / 2;
  for (size_t channel = 0; channel < 2; ++channel) {
    auto at = [&](size_t frame) {
      return static_cast<int>(samples[(frame % frames) * 2 + channel]);
    };
    auto miss = [&](size_t frame) {  // predicting `frame` from the two before it
      return std::abs(2 * at(frame + frames - 1) - at(frame + frames - 2) - at(frame));
    };
    int nearby = 0;
    for (size_t f = 2; f < 4410; ++f) nearby = std::max({nearby, miss(f), miss(frames - f)});
    EXPECT_LE(miss(0), nearby) << "channel " << channel;
    EXPECT_LE(miss(1), nearby) << "channel " << channel;
  }
}

}  // namespace
}  // namespace vtrak::test
