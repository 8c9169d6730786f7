// The Ogg Vorbis conversion fed any bytes as "input.ogg", in a working folder
// of its own with a data/ folder, decoding in this process rather than in a
// new one per file (see decode_guard.h). The mutator changes Ogg files inside
// and between their pages and reseals every page's checksum, so that the
// damage reaches the decoder rather than being dropped with its page.
// Besides the sanitizers it checks what a conversion promises:
// data/result.wav is the earlier file or a whole new one whose header states
// what follows it, and nothing else is left in data/.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "fuzz/decode_guard.h"
#include "fuzz/fuzz_scratch.h"
#include "platform/sound/memory_sound_device.h"
#include "sound/ogg_conversion.h"
#include "sound/sound_bank.h"
#include "tests/support/ogg_pages.h"
#include "tests/support/sound_test_files.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

using vtrak::test::OggPage;

constexpr const char* kInputName = "input.ogg";
// The converted file is loaded only when it is small: filling large buffers
// would cost more than the decode, and the WAV fuzzer covers the loader.
constexpr uint32_t kBufferLimit = 64u << 10;
// Marks "data/result.wav" before each run, to see whether the run replaced it.
const vtrak::test::Bytes kMarker = {'n', 'o', 't', ' ', 'c', 'o', 'n',
                                    'v', 'e', 'r', 't', 'e', 'd'};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_ogg_conversion: %s\n", what);
  __builtin_trap();
}

// The start (up to 44 bytes) and the size of data/result.wav.
struct ResultFile {
  vtrak::test::Bytes start;
  uint64_t size = 0;

  static ResultFile Read() {
    ResultFile result;
    struct stat status = {};
    if (stat(vtrak::kResultWavPath, &status) != 0) return result;
    result.size = static_cast<uint64_t>(status.st_size);
    result.start.resize(44);
    std::FILE* file = std::fopen(vtrak::kResultWavPath, "rb");
    const size_t read = file != nullptr ? std::fread(result.start.data(), 1, 44, file) : 0;
    if (file != nullptr) std::fclose(file);
    result.start.resize(read);
    return result;
  }
  // A whole WAV file whose sizes state exactly what it holds.
  bool HonestWav() const {
    return start.size() == 44 && std::memcmp(start.data(), "RIFF", 4) == 0 &&
           vtrak::test::ReadLittleEndian(start, 4, 4) == size - 8 &&
           vtrak::test::ReadLittleEndian(start, 40, 4) == size - 44;
  }
};

// Changes the body of one page in place, keeping its length so that its
// segment table still fits.
void MutateBody(uint8_t* data, const OggPage& page) {
  uint8_t* body = data + page.offset + page.headerBytes;
  std::vector<uint8_t> original(body, body + page.bodyBytes);
  const size_t kept = LLVMFuzzerMutate(body, page.bodyBytes, page.bodyBytes);
  if (kept < page.bodyBytes) {
    std::memcpy(body + kept, original.data() + kept, page.bodyBytes - kept);
  }
}

// Cuts the file at a page boundary, or drops or repeats one page.
size_t MoveWholePages(uint8_t* data, size_t size, size_t maxSize, const std::vector<OggPage>& pages,
                      std::minstd_rand& random) {
  const OggPage& page = pages[random() % pages.size()];
  const size_t length = page.end() - page.offset;
  switch (random() % 3) {
    case 0:
      return page.end();
    case 1:
      std::memmove(data + page.offset, data + page.end(), size - page.end());
      return size - length;
    default:
      if (size + length > maxSize) return size;
      std::memmove(data + page.end() + length, data + page.end(), size - page.end());
      std::memcpy(data + page.end(), data + page.offset, length);
      return size + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vtrak::fuzz::EnterScratchFolder();
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
  std::minstd_rand random(seed);
  const std::vector<OggPage> pages = vtrak::test::OggPages(data, size);
  // Now and then the bytes as bytes: that damages what holds the pages together.
  if (pages.empty() || random() % 16 == 0) return LLVMFuzzerMutate(data, size, maxSize);
  const OggPage& page = pages[random() % pages.size()];
  switch (random() % 8) {
    case 0:
      vtrak::test::SetOggGranule(data, page, random() % 2 ? random() : page.granule ^ random());
      return size;
    case 1:
      size = MoveWholePages(data, size, maxSize, pages, random);
      break;
    default:
      MutateBody(data, page);
      break;
  }
  for (const OggPage& sealed : vtrak::test::OggPages(data, size)) {
    vtrak::test::ResealOggPage(data, sealed);
  }
  return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vtrak::fuzz::WriteInput(kInputName, data, size) ||
      !vtrak::fuzz::WriteInput(vtrak::kResultWavPath, kMarker.data(), kMarker.size())) {
    return 0;
  }
  vtrak::MemorySoundDevice device;
  device.maxBufferBytes = kBufferLimit;
  std::unique_ptr<vtrak::SoundBank> bank(
      vtrak::CreateSoundBank(nullptr, vtrak::MemoryDirectSoundCreate8(device)));

  vtrak::SoundLoadReport report;
  Require(vtrak::ConvertOggToWav(*bank, kInputName, 3, &report,
                                 vtrak::fuzz::DecodeCatchingDivision) == vtrak::S_OK,
          "the conversion returned a failure");
  const ResultFile result = ResultFile::Read();
  if (report.converted) {
    Require(result.HonestWav(), "the converted file's header does not state what it holds");
  } else {
    Require(result.start == kMarker, "a failed conversion changed data/result.wav");
    Require(!bank->slots[3], "a slot was filled without a conversion");
  }
  Require(std::distance(std::filesystem::directory_iterator("data"), {}) == 1,
          "a temporary file was left in data/");
  Require(device.buffersAlive <= 1, "more than one buffer is alive");
  return 0;
}
