#pragma once
// The samples of a decoding process on their way to this one: a few slots of
// memory that both share, which the decoder fills in turn, saying on its
// stream how many bytes each holds, and which come back to it, a byte each
// on the same stream, once their samples are taken here. Samples cross with
// one copy, and no system call carries them.
#include <cstddef>
#include <cstdint>

#include "platform/core/child_process.h"
#include "sound/decoded_sound.h"
#include "sound/ogg_decode.h"

namespace vtrak {

class SampleRing {
 public:
  static constexpr size_t kSlotCount = 4;
  static constexpr size_t kSlotBytes = 256 * 1024;

  // Made before the decoding process is, so that it shares the slots; ok()
  // false with error() (an errno) when they cannot be had.
  SampleRing();
  ~SampleRing();
  SampleRing(const SampleRing&) = delete;
  SampleRing& operator=(const SampleRing&) = delete;
  bool ok() const { return slots_ != nullptr; }
  int error() const { return error_; }

  // The decoder's sink in the decoding process: fills the slots in turn and
  // reports each one on `stream`.
  class Filler : public PcmSink {
   public:
    Filler(SampleRing& ring, int stream);
    uint8_t* Room() override;
    bool Filled(size_t bytes) override;
    bool Flush() override;

   private:
    bool Report();

    SampleRing& ring_;
    int stream_;
    size_t slot_ = 0;
    size_t filled_ = 0;
    size_t free_;        // slots that may be filled, this one aside
    bool held_ = false;  // the slot is being filled
  };

  // Here: hands the samples of the slots reported in `stream` to `into`
  // and the slots back. Ended at the stream's end; Refused when a report is
  // not one a decoder makes (DecoderLost) or `into` takes no more.
  StreamState Deliver(int stream, DecodedSound& into);
  SoundLoadError failure() const { return failure_; }
  int failureDetail() const { return failureDetail_; }

 private:
  uint8_t* Slot(size_t slot) const;
  StreamState Refuse(SoundLoadError error, int detail);

  uint8_t* slots_ = nullptr;
  int error_ = 0;
  size_t next_ = 0;  // the slot reported next
  SoundLoadError failure_ = SoundLoadError::None;
  int failureDetail_ = 0;
};

}  // namespace vtrak
