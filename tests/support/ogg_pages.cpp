#include "tests/support/ogg_pages.h"

#include <array>
#include <cstring>

namespace vtrak::test {
namespace {

constexpr size_t kFixedHeaderBytes = 27;
constexpr size_t kChecksumAt = 22;

std::array<uint32_t, 256> ChecksumTable() {
  // CRC-32 with the polynomial 0x04C11DB7, most significant bit first.
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t r = i << 24;
    for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
    table[i] = r;
  }
  return table;
}

uint64_t LittleEndian(const uint8_t* at, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

}  // namespace

std::vector<OggPage> OggPages(const uint8_t* file, size_t size) {
  std::vector<OggPage> pages;
  size_t at = 0;
  while (size - at >= kFixedHeaderBytes && std::memcmp(file + at, "OggS", 4) == 0) {
    OggPage page;
    page.offset = at;
    const size_t segments = file[at + 26];
    page.headerBytes = kFixedHeaderBytes + segments;
    if (size - at < page.headerBytes) break;
    for (size_t i = 0; i < segments; ++i) page.bodyBytes += file[at + kFixedHeaderBytes + i];
    if (size - at - page.headerBytes < page.bodyBytes) break;
    page.type = file[at + 5];
    page.granule = LittleEndian(file + at + 6, 8);
    page.serial = static_cast<uint32_t>(LittleEndian(file + at + 14, 4));
    pages.push_back(page);
    at = page.end();
  }
  return pages;
}

uint32_t OggPageChecksum(const uint8_t* page, size_t size) {
  static const std::array<uint32_t, 256> table = ChecksumTable();
  uint32_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t byte = (i >= kChecksumAt && i < kChecksumAt + 4) ? 0 : page[i];
    crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
  }
  return crc;
}

void ResealOggPage(uint8_t* file, const OggPage& page) {
  uint8_t* start = file + page.offset;
  const uint32_t crc = OggPageChecksum(start, page.headerBytes + page.bodyBytes);
  for (int i = 0; i < 4; ++i) start[kChecksumAt + i] = static_cast<uint8_t>(crc >> (8 * i));
}

void SetOggGranule(uint8_t* file, const OggPage& page, uint64_t granule) {
  for (int i = 0; i < 8; ++i) file[page.offset + 6 + i] = static_cast<uint8_t>(granule >> (8 * i));
  ResealOggPage(file, page);
}

}  // namespace vtrak::test
