#pragma once
// What became of one load, for a caller that explains it to a person. The
// game itself does not look: a failed load is silence.
#include <cstdint>

namespace vtrak {

enum class SoundLoadError {
  None,
  CannotOpen,       // `detail`: the errno of the open
  NotARegularFile,  // a FIFO, a device or a folder
  HeaderCutShort,   // the file ends before the data length
  NoSoundDevice,
  FormatRefused,  // the device takes no buffer of that format or length
  OutOfMemory,    // no memory for the buffer, or for the decoder
  LockRefused,
  // The Ogg Vorbis conversion; the old "data/result.wav" stays as it was.
  NotOggVorbis,
  CannotCreateResult,  // `detail`: the errno of the new file in data/
  WriteFailed,         // `detail`: the errno of the write, the close or the rename
  NotLoadable,         // `channels` at `rate` Hz: not what the loader takes
  TooLongToLoad,       // more sound than the loader takes (DSBSIZE_MAX bytes)
  DecoderStuck,        // decoder errors without progress through the file
  DecoderNotStarted,   // `detail`: the errno of the shared memory or fork
  DecoderCrashed,      // `detail`: the signal that ended the decoding process
  DecoderLost,         // `detail`: the decoding process's unexpected exit status
};

struct SoundLoadReport {
  SoundLoadError error = SoundLoadError::None;
  int detail = 0;
  // A conversion that replaced "data/result.wav".
  bool converted = false;
  // The load of a converted file, before it was to replace "data/result.wav",
  // failed with `error`: the old file stays.
  bool resultRefused = false;
  // The first link's format, as far as the decoder read it.
  int32_t channels = 0;
  int32_t rate = 0;
  // A chained stream is converted while its links keep the first link's
  // channels and rate: `linksConverted` links were, and the next one has
  // `nextChannels` channels at `nextRate` Hz (0 when every link was).
  int32_t linksConverted = 0;
  int32_t nextChannels = 0;
  int32_t nextRate = 0;
};

}  // namespace vtrak
