#pragma once
// What the decoder is given to read of an Ogg file: its whole Ogg pages, in
// order, and nothing between them. The pages are found as the decoder's own
// page sync finds them (the first "OggS" whose page is complete and whose
// checksum holds, then the next one after its end), so the decoder sees the
// same pages it would find in the file; what lies between them, which it
// would skip byte by byte, never reaches it. Reading the file forwards once
// is all this costs: a tail of any length that holds no pages costs one
// read, and the checksums tried on false page starts are capped at a few
// times the bytes read, after which the rest of the file counts as lost.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace vtrak {

// The Ogg checksum of `size` bytes (polynomial 0x04C11DB7, no reflection,
// starting at `crc`).
uint32_t OggChecksum(const uint8_t* bytes, size_t size, uint32_t crc = 0);

class OggPageFilter {
 public:
  explicit OggPageFilter(int fd);

  // Up to `size` bytes of the pages found so far; 0 at the end. A read
  // error sets `failed()`.
  size_t Read(uint8_t* into, size_t size);
  bool failed() const { return failed_; }

 private:
  // Finds the next page from `at_`; false at the end of what can be read.
  bool FindPage();
  // At least `count` bytes from `at_` in the window, unless the file ends.
  bool Have(size_t count);

  int fd_;
  std::unique_ptr<uint8_t[]> window_;
  size_t at_ = 0;          // the first byte not yet looked at
  size_t end_ = 0;         // the end of the bytes read into the window
  size_t pageLeft_ = 0;    // bytes of a found page at `at_` still to hand over
  uint64_t consumed_ = 0;  // bytes of the file before the window's start
  uint64_t checked_ = 0;   // bytes run through the checksum so far
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace vtrak
