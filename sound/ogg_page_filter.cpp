#include "sound/ogg_page_filter.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace vtrak {
namespace {

constexpr size_t kHeaderBytes = 27;  // up to and with the segment count
constexpr size_t kChecksumAt = 22;
// The longest page: a full segment table of full segments.
constexpr size_t kLongestPage = kHeaderBytes + 255 + 255 * 255;
constexpr size_t kWindowBytes = 512 * 1024;
// Checksum work allowed per byte read, beyond a first allowance: a real
// file's pages are each checked once; false page starts are not allowed to
// cost more than a few reads of the file.
constexpr uint64_t kCheckedPerByteRead = 4;
constexpr uint64_t kCheckedAllowance = 1u << 20;

constexpr std::array<uint32_t, 256> ChecksumTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) != 0 ? (r << 1) ^ 0x04C11DB7u : r << 1;
    table[i] = r;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kChecksumTable = ChecksumTable();

uint32_t LittleEndian32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

}  // namespace

uint32_t OggChecksum(const uint8_t* bytes, size_t size, uint32_t crc) {
  for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ kChecksumTable[(crc >> 24) ^ bytes[i]];
  return crc;
}

OggPageFilter::OggPageFilter(int fd) : fd_(fd), window_(new uint8_t[kWindowBytes]) {}

bool OggPageFilter::Have(size_t count) {
  if (end_ - at_ >= count) return true;
  // Keep what is left at the window's start, then fill the rest.
  std::memmove(window_.get(), window_.get() + at_, end_ - at_);
  consumed_ += at_;
  end_ -= at_;
  at_ = 0;
  while (end_ < count) {
    const ssize_t got = read(fd_, window_.get() + end_, kWindowBytes - end_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failed_ = true;
    if (got <= 0) return false;
    end_ += static_cast<size_t>(got);
  }
  return true;
}

bool OggPageFilter::FindPage() {
  for (;;) {
    if (at_ == end_ && !Have(1)) return false;
    const auto* start =
        static_cast<const uint8_t*>(std::memchr(window_.get() + at_, 'O', end_ - at_));
    if (start == nullptr) {
      at_ = end_;
      continue;
    }
    at_ = static_cast<size_t>(start - window_.get());
    // A page that the file ends inside ends the pages, as in the decoder.
    if (!Have(kHeaderBytes)) return false;
    const uint8_t* page = window_.get() + at_;
    if (std::memcmp(page, "OggS", 4) != 0) {
      ++at_;
      continue;
    }
    const size_t segments = page[kHeaderBytes - 1];
    if (!Have(kHeaderBytes + segments)) return false;
    page = window_.get() + at_;
    size_t length = kHeaderBytes + segments;
    for (size_t i = 0; i < segments; ++i) length += page[kHeaderBytes + i];
    static_assert(kLongestPage < kWindowBytes);
    if (!Have(length)) return false;
    page = window_.get() + at_;
    checked_ += length;
    if (checked_ > kCheckedPerByteRead * (consumed_ + at_ + length) + kCheckedAllowance) {
      return false;  // false page starts all the way: the rest counts as lost
    }
    const uint8_t zero[4] = {};
    uint32_t crc = OggChecksum(page, kChecksumAt);
    crc = OggChecksum(zero, sizeof zero, crc);
    crc = OggChecksum(page + kChecksumAt + 4, length - kChecksumAt - 4, crc);
    if (crc == LittleEndian32(page + kChecksumAt)) {
      pageLeft_ = length;
      return true;
    }
    ++at_;
  }
}

size_t OggPageFilter::Read(uint8_t* into, size_t size) {
  if (pageLeft_ == 0 && (ended_ || !FindPage())) {
    ended_ = true;
    return 0;
  }
  const size_t count = std::min(size, pageLeft_);
  std::memcpy(into, window_.get() + at_, count);
  at_ += count;
  pageLeft_ -= count;
  return count;
}

}  // namespace vtrak
