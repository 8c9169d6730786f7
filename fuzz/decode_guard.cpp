#include "fuzz/decode_guard.h"

#include <csetjmp>
#include <csignal>

namespace vtrak::fuzz {
namespace {

sigjmp_buf divided;

void OnDivision(int) {
  siglongjmp(divided, 1);
}

}  // namespace

OggDecodeSummary DecodeCatchingDivision(int inputFd, int outputFd) {
  OggToWavDecoder decoder;  // its state is freed on the way out, after a division too
  struct sigaction guard {};
  struct sigaction saved {};
  guard.sa_handler = OnDivision;
  sigemptyset(&guard.sa_mask);
  sigaction(SIGFPE, &guard, &saved);
  OggDecodeSummary summary;
  if (sigsetjmp(divided, 1) == 0) {
    summary = decoder.Run(inputFd, outputFd);
  } else {
    summary = OggDecodeSummary{};
    summary.error = SoundLoadError::DecoderCrashed;
    summary.detail = SIGFPE;
  }
  sigaction(SIGFPE, &saved, nullptr);
  return summary;
}

}  // namespace vtrak::fuzz
