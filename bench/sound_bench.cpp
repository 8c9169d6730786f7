// The Ogg Vorbis conversion against a bare decode of the same file, and a WAV
// load against a bare read of the same file.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/sound/memory_sound_device.h"
#include "sound/ogg_conversion.h"
#include "sound/sound_bank.h"
#include "tests/support/sound_test_files.h"

namespace {

using vtrak::test::Bytes;

constexpr const char* kOggFile = "bench.ogg";
constexpr const char* kWavFile = "bench.wav";

// A scratch folder holding 60 s of stereo Ogg Vorbis at 44100 Hz and the WAV
// file it converts to; made once, for every benchmark.
struct Files {
  Files() {
    Bytes ogg;
    vtrak::test::AppendOggStream(ogg, 2, 44100, 60 * 44100, 1);
    vtrak::test::WriteFile(kOggFile, ogg);
    std::filesystem::create_directory("data");
    vtrak::MemorySoundDevice device;
    std::unique_ptr<vtrak::SoundBank> bank(
        vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));
    vtrak::ConvertOggToWav(*bank, kOggFile, 0);
    std::filesystem::copy_file(vtrak::kResultWavPath, kWavFile);
    wavBytes = std::filesystem::file_size(kWavFile);
  }
  vtrak::test::ScratchDirectory scratch;
  uintmax_t wavBytes = 0;
};

const Files& BenchFiles() {
  static const Files files;
  return files;
}

void BM_ConvertOggToWav(benchmark::State& state) {
  const Files& files = BenchFiles();
  vtrak::MemorySoundDevice device;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));
  for (auto _ : state) {
    vtrak::ConvertOggToWav(*bank, kOggFile, 0);
    benchmark::DoNotOptimize(bank->slots[0].get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.wavBytes));
}
BENCHMARK(BM_ConvertOggToWav)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same, each conversion replacing a result that is already on the disk,
// as a player's does: the back-to-back loop above also waits, in each
// rename, for the disk writes of the result it replaces, a moment old.
void BM_ConvertOggToWavSettled(benchmark::State& state) {
  const Files& files = BenchFiles();
  vtrak::MemorySoundDevice device;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));
  const int folder = open("data", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (auto _ : state) {
    state.PauseTiming();
    syncfs(folder);
    state.ResumeTiming();
    vtrak::ConvertOggToWav(*bank, kOggFile, 0);
    benchmark::DoNotOptimize(bank->slots[0].get());
  }
  close(folder);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.wavBytes));
}
BENCHMARK(BM_ConvertOggToWavSettled)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decode alone: ov_read into a 4096-byte block until the end.
void BM_PlainOvRead(benchmark::State& state) {
  const Files& files = BenchFiles();
  char block[vtrak::kPcmBlockBytes];
  for (auto _ : state) {
    OggVorbis_File decoder;
    if (ov_open(std::fopen(kOggFile, "rb"), &decoder, nullptr, 0) < 0) {
      state.SkipWithError("ov_open failed");
      break;
    }
    int bitstream = 0;
    long total = 0;
    for (long n; (n = ov_read(&decoder, block, sizeof block, 0, 2, 1, &bitstream)) != 0;) {
      if (n > 0) total += n;
    }
    benchmark::DoNotOptimize(total);
    ov_clear(&decoder);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.wavBytes));
}
BENCHMARK(BM_PlainOvRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadWav(benchmark::State& state) {
  const Files& files = BenchFiles();
  vtrak::MemorySoundDevice device;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));
  for (auto _ : state) {
    if (vtrak::LoadSound(*bank, kWavFile, 0) != vtrak::S_OK) {
      state.SkipWithError("LoadSound failed");
      break;
    }
    benchmark::DoNotOptimize(bank->slots[0].get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.wavBytes));
}
BENCHMARK(BM_LoadWav)->Unit(benchmark::kMillisecond)->UseRealTime();

// The read alone: the whole file into fresh memory with one fread.
void BM_PlainFread(benchmark::State& state) {
  const Files& files = BenchFiles();
  for (auto _ : state) {
    std::unique_ptr<uint8_t[]> memory(new uint8_t[files.wavBytes]);
    std::FILE* file = std::fopen(kWavFile, "rb");
    size_t read = std::fread(memory.get(), 1, files.wavBytes, file);
    std::fclose(file);
    benchmark::DoNotOptimize(read);
    benchmark::DoNotOptimize(memory.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(files.wavBytes));
}
BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond)->UseRealTime();

// 4 GiB of nothing (a sparse file) with the header's markers at its end and a
// data length of 0: the loader scans it all, then refuses it.
constexpr const char* kSparseWavFile = "sparse.wav";
constexpr off_t kSparseBytes = off_t{4} << 30;

// Reads the sparse file to its end in 128 KiB blocks, as cat does.
void ReadToTheEnd() {
  std::vector<char> block(128 * 1024);
  const int fd = open(kSparseWavFile, O_RDONLY | O_CLOEXEC);
  while (read(fd, block.data(), block.size()) > 0) {
  }
  close(fd);
}

void MakeSparseWav() {
  if (std::filesystem::exists(kSparseWavFile)) return;
  BenchFiles();  // the scratch folder
  std::FILE* file = std::fopen(kSparseWavFile, "wb");
  const Bytes tail = vtrak::test::CanonicalWavHeader({1, 2, 44100, 176400, 4, 16, 0});
  const bool made = file != nullptr && ftruncate(fileno(file), kSparseBytes) == 0 &&
                    fseeko(file, kSparseBytes, SEEK_SET) == 0 &&
                    std::fwrite(tail.data() + 12, 1, tail.size() - 12, file) == tail.size() - 12;
  if (file != nullptr) std::fclose(file);
  if (!made) std::fputs("sound_bench: cannot make the sparse file\n", stderr);
  // One read first, so that both benchmarks find the file in the page cache.
  ReadToTheEnd();
}

void BM_RejectSparseWav(benchmark::State& state) {
  MakeSparseWav();
  vtrak::MemorySoundDevice device;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));
  for (auto _ : state) {
    if (vtrak::LoadSound(*bank, kSparseWavFile, 0) != vtrak::E_FAIL) {
      state.SkipWithError("the sparse file loaded");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSparseBytes));
}
BENCHMARK(BM_RejectSparseWav)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// What cat does with the same file: 128 KiB reads to the end.
void BM_CatSparseWav(benchmark::State& state) {
  MakeSparseWav();
  for (auto _ : state) ReadToTheEnd();
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSparseBytes));
}
BENCHMARK(BM_CatSparseWav)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
