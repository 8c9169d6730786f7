#include "fuzz/decode_worker.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csetjmp>
#include <csignal>
#include <string>

#include "platform/core/file_descriptor.h"

namespace vtrak::fuzz {
namespace {

struct Request {
  int inputFd;
  int outputFd;
};

// A worker that has seen this many decoder crashes is replaced: each leaves
// the decoder's memory and a descriptor behind.
constexpr int kCrashesPerWorker = 200;

// The decoder's known crash, a division by zero on a damaged setup header,
// returns to the request loop instead of ending the worker: starting a new
// worker costs a fork of the whole fuzzer. Other crashes end it.
sigjmp_buf decodeDivided;
void OnDecoderDivide(int) {
  siglongjmp(decodeDivided, 1);
}

// Opens one of the parent's descriptors anew through /proc.
int OpenParentFile(pid_t parent, int fd, int flags) {
  const std::string path = "/proc/" + std::to_string(parent) + "/fd/" + std::to_string(fd);
  return open(path.c_str(), flags | O_CLOEXEC);
}

void ServeRequests(pid_t parent, int requests, int replies) {
  for (const int crash : {SIGSEGV, SIGBUS, SIGILL, SIGABRT, SIGTRAP}) std::signal(crash, SIG_DFL);
  std::signal(SIGFPE, OnDecoderDivide);
  std::signal(SIGXFSZ, SIG_IGN);
  Request request{};
  while (ReadFully(requests, reinterpret_cast<uint8_t*>(&request), sizeof request) ==
         sizeof request) {
    const int input = OpenParentFile(parent, request.inputFd, O_RDONLY);
    const int output = OpenParentFile(parent, request.outputFd, O_RDWR);
    OggDecodeSummary summary;
    summary.error = SoundLoadError::DecoderLost;
    if (sigsetjmp(decodeDivided, 1) != 0) {
      summary = OggDecodeSummary{};
      summary.error = SoundLoadError::DecoderCrashed;
      summary.detail = SIGFPE;
    } else if (input >= 0 && output >= 0) {
      summary = DecodeOggToWav(input, output);
    }
    if (input >= 0) close(input);
    if (output >= 0) close(output);
    if (!WriteFully(replies, reinterpret_cast<const uint8_t*>(&summary), sizeof summary)) break;
  }
  _exit(0);
}

struct Worker {
  pid_t pid = -1;
  int requests = -1;
  int replies = -1;
  int crashes = 0;

  bool Start() {
    int toWorker[2], fromWorker[2];
    if (pipe2(toWorker, O_CLOEXEC) != 0) return false;
    if (pipe2(fromWorker, O_CLOEXEC) != 0) {
      close(toWorker[0]);
      close(toWorker[1]);
      return false;
    }
    const pid_t parent = getpid();
    crashes = 0;
    pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      close(toWorker[1]);
      close(fromWorker[0]);
      ServeRequests(parent, toWorker[0], fromWorker[1]);
    }
    close(toWorker[0]);
    close(fromWorker[1]);
    requests = toWorker[1];
    replies = fromWorker[0];
    return pid > 0;
  }

  // The worker ended (or will not answer): how it ended, as a summary.
  OggDecodeSummary Ended() {
    close(requests);
    close(replies);
    int status = 0;
    OggDecodeSummary summary;
    summary.error = SoundLoadError::DecoderLost;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFSIGNALED(status)) {
      summary.error = SoundLoadError::DecoderCrashed;
      summary.detail = WTERMSIG(status);
    } else {
      summary.detail = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid = -1;
    return summary;
  }
};

}  // namespace

OggDecodeSummary DecodeInWorker(int inputFd, int outputFd) {
  static Worker worker;
  if (worker.pid < 0 && !worker.Start()) return worker.Ended();
  const Request request{inputFd, outputFd};
  OggDecodeSummary summary;
  if (!WriteFully(worker.requests, reinterpret_cast<const uint8_t*>(&request), sizeof request) ||
      ReadFully(worker.replies, reinterpret_cast<uint8_t*>(&summary), sizeof summary) !=
          sizeof summary) {
    return worker.Ended();
  }
  if (summary.error == SoundLoadError::DecoderCrashed && ++worker.crashes >= kCrashesPerWorker) {
    worker.Ended();  // it reads the end of its requests and exits
  }
  return summary;
}

}  // namespace vtrak::fuzz
