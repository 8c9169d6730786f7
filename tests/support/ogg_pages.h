#pragma once
// Ogg pages seen from outside the decoder: where each page lies, and the
// checksum that makes a changed page acceptable to the decoder again. Tests
// and the fuzzer damage pages this way so that the damage reaches the decoder
// instead of being dropped with the page.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vtrak::test {

struct OggPage {
  size_t offset = 0;       // of "OggS" in the file
  size_t headerBytes = 0;  // 27 + the segment table
  size_t bodyBytes = 0;
  uint8_t type = 0;  // 1 continued, 2 first, 4 last of its stream
  uint64_t granule = 0;
  uint32_t serial = 0;
  size_t end() const { return offset + headerBytes + bodyBytes; }
};

// The whole pages of a file, in order; parsing stops at the first byte that
// does not start a whole page.
std::vector<OggPage> OggPages(const uint8_t* file, size_t size);

// The Ogg checksum of a page whose checksum field reads as zero.
uint32_t OggPageChecksum(const uint8_t* page, size_t size);

// Writes the page's checksum for its present contents.
void ResealOggPage(uint8_t* file, const OggPage& page);

// Sets the page's granule position (and its checksum to match).
void SetOggGranule(uint8_t* file, const OggPage& page, uint64_t granule);

}  // namespace vtrak::test
