#include "sound/sample_ring.h"

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/file_descriptor.h"

namespace vtrak {
namespace {

constexpr size_t kSlotCount = SampleRing::kSlotCount;
constexpr size_t kSlotBytes = SampleRing::kSlotBytes;
constexpr size_t kRingBytes = kSlotCount * kSlotBytes;
// A slot with less room than a decoder block is full.
static_assert(kSlotBytes % kPcmBlockBytes == 0);

}  // namespace

SampleRing::SampleRing() {
  void* memory =
      mmap(nullptr, kRingBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    error_ = errno;
    return;
  }
  slots_ = static_cast<uint8_t*>(memory);
}

SampleRing::~SampleRing() {
  if (slots_ != nullptr) munmap(slots_, kRingBytes);
}

uint8_t* SampleRing::Slot(size_t slot) const {
  return slots_ + slot * kSlotBytes;
}

SampleRing::Filler::Filler(SampleRing& ring, int stream)
    : ring_(ring), stream_(stream), free_(kSlotCount) {}

uint8_t* SampleRing::Filler::Room() {
  if (!held_) {
    // Waits for slots to come back.
    uint8_t returned[kSlotCount];
    while (free_ == 0) {
      const ssize_t got = read(stream_, returned, sizeof returned);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        Fail(SoundLoadError::DecoderLost, got < 0 ? errno : 0);
        return nullptr;
      }
      free_ += static_cast<size_t>(got);
    }
    --free_;
    held_ = true;
    filled_ = 0;
  }
  return ring_.Slot(slot_) + filled_;
}

bool SampleRing::Filler::Filled(size_t bytes) {
  filled_ += bytes;
  return kSlotBytes - filled_ >= kPcmBlockBytes || Report();
}

bool SampleRing::Filler::Flush() {
  return !held_ || filled_ == 0 || Report();
}

bool SampleRing::Filler::Report() {
  const uint32_t bytes = static_cast<uint32_t>(filled_);
  if (!WriteFully(stream_, reinterpret_cast<const uint8_t*>(&bytes), sizeof bytes)) {
    return Fail(SoundLoadError::WriteFailed, errno);
  }
  slot_ = (slot_ + 1) % kSlotCount;
  held_ = false;
  return true;
}

StreamState SampleRing::Refuse(SoundLoadError error, int detail) {
  failure_ = error;
  failureDetail_ = detail;
  return StreamState::Refused;
}

StreamState SampleRing::Deliver(int stream, DecodedSound& into) {
  uint32_t reports[kSlotCount];
  const ssize_t got = read(stream, reports, sizeof reports);
  if (got < 0) return errno == EINTR || errno == EAGAIN ? StreamState::Open : StreamState::Ended;
  if (got == 0) return StreamState::Ended;
  if (got % sizeof reports[0] != 0) return Refuse(SoundLoadError::DecoderLost, 0);
  for (size_t i = 0; i < static_cast<size_t>(got) / sizeof reports[0]; ++i) {
    if (reports[i] > kSlotBytes) return Refuse(SoundLoadError::DecoderLost, 0);
    if (!into.Append(Slot(next_), reports[i])) {
      return Refuse(into.failure(), into.failureDetail());
    }
    // The slot goes back; a decoder already gone needs none.
    const uint8_t slot = 0;
    send(stream, &slot, 1, MSG_NOSIGNAL);
    next_ = (next_ + 1) % kSlotCount;
  }
  return StreamState::Open;
}

}  // namespace vtrak
