// Writes the sound files that the fuzzers start from and the fault tests feed
// the game: write_sound_seeds WAV_FOLDER OGG_FOLDER. WAV files are canonical
// ones and the shapes the header reader must live with; Ogg files are tiny
// ones encoded here through libvorbisenc.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/sound_test_files.h"

namespace {

using vtrak::test::Bytes;
using vtrak::test::WavFields;

Bytes Wav(const WavFields& fields, size_t dataBytes) {
  Bytes out = vtrak::test::CanonicalWavHeader(fields);
  const Bytes data = vtrak::test::RampBytes(dataBytes);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void WriteWavSeeds(const std::filesystem::path& folder) {
  auto write = [&folder](const char* name, const Bytes& bytes) {
    vtrak::test::WriteFile((folder / name).string(), bytes);
  };
  write("stereo16.wav", Wav({1, 2, 44100, 176400, 4, 16, 64}, 64));
  write("mono8.wav", Wav({1, 1, 8000, 8000, 1, 8, 33}, 33));
  write("float-tag.wav", Wav({3, 2, 48000, 384000, 8, 32, 32}, 32));
  write("short-data.wav", Wav({1, 1, 22050, 44100, 2, 16, 400}, 10));
  write("huge-length.wav", Wav({1, 2, 44100, 176400, 4, 16, 0xFFFFFFFFu}, 16));
  Bytes truncated = Wav({1, 2, 44100, 176400, 4, 16, 8}, 8);
  truncated.resize(30);  // ends inside the format fields
  write("truncated.wav", truncated);

  // An extensible format chunk and a list chunk whose text holds "Metadata".
  Bytes chunks = vtrak::test::CanonicalWavHeader({0xFFFE, 2, 44100, 176400, 4, 16, 0});
  chunks.resize(36);
  vtrak::test::AppendText(chunks, "LIST");
  vtrak::test::AppendLittleEndian(chunks, 12, 4);
  vtrak::test::AppendText(chunks, "INFOMetadata");
  vtrak::test::AppendText(chunks, "data");
  vtrak::test::AppendLittleEndian(chunks, 8, 4);
  const Bytes data = vtrak::test::RampBytes(8);
  chunks.insert(chunks.end(), data.begin(), data.end());
  write("list-chunk.wav", chunks);
}

void WriteOggSeeds(const std::filesystem::path& folder) {
  // Each link: channels, rate, samples per channel.
  struct Link {
    int channels;
    long rate;
    long frames;
  };
  auto encode = [&folder](const char* name, std::initializer_list<Link> links) {
    Bytes bytes;
    int serial = 1;
    for (const Link& link : links) {
      vtrak::test::AppendOggStream(bytes, link.channels, link.rate, link.frames, serial++);
    }
    vtrak::test::WriteFile((folder / name).string(), bytes);
  };
  encode("mono.ogg", {{1, 22050, 300}});
  encode("stereo.ogg", {{2, 44100, 700}});
  encode("low-rate.ogg", {{1, 8000, 200}});
  // (libvorbisenc 1.3.7 leaks its 5.1 set-up at 44.1 and 48 kHz: 32 kHz here.)
  encode("six-channels.ogg", {{6, 32000, 300}});
  encode("chained.ogg", {{1, 16000, 200}, {2, 8000, 200}});
  encode("chained-alike.ogg", {{2, 32000, 200}, {2, 32000, 300}});
  encode("empty.ogg", {{2, 8000, 0}});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: write_sound_seeds WAV_FOLDER OGG_FOLDER\n", stderr);
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    std::filesystem::create_directories(argv[2]);
    WriteWavSeeds(argv[1]);
    WriteOggSeeds(argv[2]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "write_sound_seeds: %s\n", error.what());
    return 1;
  }
  return 0;
}
