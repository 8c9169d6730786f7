#pragma once
// Work done in a child process, so that a crash in it (a library fed a
// hostile file) ends only the child. The child shares the parent's open
// files; what it produces comes back through a page of memory shared with
// it, and what it streams through a stream to this process.
#include <cstddef>
#include <functional>

namespace vtrak {

struct ChildEnd {
  bool started = false;   // the child process could be made
  int startError = 0;     // the errno of the stream or of fork when it could not
  bool returned = false;  // `work` returned and the child handed its result over
  bool stopped = false;   // `stopFd` became readable first: the child was killed
  bool refused = false;   // the reader of its stream refused more: the child was killed
  int signal = 0;         // the signal that ended the child, or 0
  int exitStatus = 0;     // its exit status when it exited otherwise
};

// What a reader made of the bytes waiting in a child's stream.
enum class StreamState {
  Open,     // more may come
  Ended,    // the child closed it
  Refused,  // the reader can take no more: the child is killed
};

// Runs `work` in a child process; `work` fills the `size` bytes at `result`,
// which are then copied back here. A stream joins the two: `work` gets the
// child's end, and `drain` is called with this one's whenever bytes wait in
// it, so that the parent uses them while the child still works; both ends
// may also be written to (here with MSG_NOSIGNAL: the child may be gone).
// Waits for the child to end, or, when `stopFd` (if not -1) becomes readable
// first or `drain` refuses, kills it and waits for that. In the child, crash
// signals take their default action (they end it, whatever handlers this
// process has), an over-large write fails instead of killing it, and it
// dies with this process.
ChildEnd RunStreamingChild(void* result, size_t size,
                           const std::function<void(void*, int streamFd)>& work,
                           const std::function<StreamState(int streamFd)>& drain, int stopFd = -1);

}  // namespace vtrak
