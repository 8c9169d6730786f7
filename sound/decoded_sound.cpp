#include "sound/decoded_sound.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sound/ogg_conversion.h"

namespace vtrak {
namespace {

constexpr uint64_t kHeaderBytes = 44;
// The room first taken; it doubles as the samples need.
constexpr uint64_t kFirstCapacity = 4 << 20;
// Samples gather in memory until this many can go to the file in one write.
constexpr uint64_t kWriteBytes = 1 << 20;

}  // namespace

DecodedSound::~DecodedSound() {
  if (memory_ != nullptr) munmap(memory_, capacity_);
}

bool DecodedSound::MakeRoom(uint64_t bytes) {
  if (capacity_ - size_ >= bytes) return true;
  // Pages of its own: memory from the heap may be shared with the decoding
  // process, and each page written would be copied first.
  uint64_t capacity = capacity_ == 0 ? kFirstCapacity : capacity_;
  while (capacity - size_ < bytes) capacity *= 2;
  void* grown = MAP_FAILED;
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  // Remapping moves the pages, not the bytes.
  if (memory_ != nullptr) grown = mremap(memory_, capacity_, capacity, MREMAP_MAYMOVE);
#endif
  if (memory_ == nullptr || grown == MAP_FAILED) {
    grown = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (grown == MAP_FAILED) return Fail(SoundLoadError::OutOfMemory, ENOMEM);
    if (memory_ != nullptr) {
      std::memcpy(grown, memory_, size_);
      munmap(memory_, capacity_);
    }
  }
  memory_ = static_cast<uint8_t*>(grown);
  capacity_ = capacity;
  return true;
}

size_t DecodedSound::MoveTo(uint8_t* into, size_t bytes) {
  const size_t kept = bytes < size_ ? bytes : static_cast<size_t>(size_);
  size_t moved = 0;
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  // The pages of both are whole from their starts: a mapping's pages.
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t pages = kept / page * page;
  if (pages != 0 && reinterpret_cast<uintptr_t>(into) % page == 0 &&
      mremap(memory_, pages, pages, MREMAP_MAYMOVE | MREMAP_FIXED, into) != MAP_FAILED) {
    // What is left of the mapping here starts after the pages that went.
    memory_ += pages;
    capacity_ -= pages;
    size_ -= pages;
    written_ = written_ > pages ? written_ - pages : 0;
    moved = pages;
  }
#endif
  std::memcpy(into + moved, memory_, kept - moved);
  return kept;
}

bool DecodedSound::WritePending() {
  if (size_ == written_) return true;
  const uint64_t bytes = size_ - written_;
  const off_t at = static_cast<off_t>(kHeaderBytes + written_);
  uint64_t done = 0;
  while (done < bytes) {
    const ssize_t wrote = pwrite(wavFd_, memory_ + written_ + done,
                                 static_cast<size_t>(bytes - done), at + static_cast<off_t>(done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return Fail(SoundLoadError::WriteFailed, wrote < 0 ? errno : ENOSPC);
    done += static_cast<uint64_t>(wrote);
  }
  written_ = size_;
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  // The disk writes start now, while the decoder works: replacing the old
  // result by a rename would otherwise make them all at once, then.
  sync_file_range(wavFd_, at, static_cast<off_t>(bytes), SYNC_FILE_RANGE_WRITE);
#endif
  return true;
}

uint8_t* DecodedSound::Room() {
  return MakeRoom(kPcmBlockBytes) ? memory_ + size_ : nullptr;
}

bool DecodedSound::Filled(size_t bytes) {
  size_ += bytes;
  return size_ - written_ < kWriteBytes || WritePending();
}

bool DecodedSound::Append(const uint8_t* from, size_t bytes) {
  if (!MakeRoom(bytes)) return false;
  std::memcpy(memory_ + size_, from, bytes);
  return Filled(bytes);
}

bool DecodedSound::Finish(int32_t channels, int32_t rate, uint32_t dataBytes) {
  if (dataBytes != size_) return Fail(SoundLoadError::DecoderLost, 0);
  if (!WritePending()) return false;
  uint8_t header[kHeaderBytes];
  BuildCanonicalWavHeader(header, channels, rate, static_cast<uint32_t>(size_));
  if (pwrite(wavFd_, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header)) {
    return Fail(SoundLoadError::WriteFailed, errno != 0 ? errno : ENOSPC);
  }
  return true;
}

}  // namespace vtrak
