#include "fuzz/decode_guard.h"

#include <csetjmp>
#include <csignal>
#include <memory>

namespace vtrak::fuzz {
namespace {

sigjmp_buf divided;

void OnDivision(int) {
  siglongjmp(divided, 1);
}

}  // namespace

OggDecodeSummary DecodeCatchingDivision(int inputFd, int outputFd) {
  // Its state is freed on the way out, after a division too. It lives on the
  // heap: a local object changed between sigsetjmp and siglongjmp would be
  // indeterminate after the jump.
  const auto decoder = std::make_unique<OggDecoder>();
  struct sigaction guard = {};
  struct sigaction saved = {};
  guard.sa_handler = OnDivision;
  sigemptyset(&guard.sa_mask);
  sigaction(SIGFPE, &guard, &saved);
  OggDecodeSummary summary;
  if (sigsetjmp(divided, 1) == 0) {
    summary = decoder->Run(inputFd, outputFd);
  } else {
    summary = OggDecodeSummary{};
    summary.error = SoundLoadError::DecoderCrashed;
    summary.detail = SIGFPE;
  }
  sigaction(SIGFPE, &saved, nullptr);
  return summary;
}

}  // namespace vtrak::fuzz
