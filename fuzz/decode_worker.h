#pragma once
// Where the Ogg fuzz target decodes: one long-lived process that decodes the
// files it is handed one after another. The program starts a child process
// for every decode; a fuzzer doing that would spend its time in fork rather
// than in the decoder. A crash is reported as the program reports it; one
// that ends the worker has the next decode start a new one.
#include "sound/ogg_decode.h"

namespace vtrak::fuzz {

// An OggDecodeRunner: decodes `inputFd` into `outputFd` in the worker.
OggDecodeSummary DecodeInWorker(int inputFd, int outputFd);

}  // namespace vtrak::fuzz
