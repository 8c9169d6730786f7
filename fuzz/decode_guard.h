#pragma once
// Where the Ogg fuzz target decodes: in the fuzzer's own process, with the
// decoder's known crash caught. The program starts a child process for every
// decode, so that no crash of the decoder can end it; a fuzzer doing that
// would spend its time in fork rather than in the decoder. libvorbis 1.3.7
// divides by zero on some damaged setup headers: that one crash (SIGFPE) is
// turned into the failed decode the program reports, and the decoder's state
// is freed. Any other crash still ends the fuzzer, as a finding.
#include "sound/ogg_decode.h"

namespace vtrak::fuzz {

// An OggDecodeRunner.
OggDecodeSummary DecodeCatchingDivision(int inputFd, int outputFd);

}  // namespace vtrak::fuzz
