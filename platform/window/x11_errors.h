#pragma once
// Xlib's error handling, made to survive one harmless error of SDL's own.

namespace vtrak {

// While SDL waits for events it wakes itself with an event sent to one of its
// windows over a second connection to the X server. When that window is
// closed at the same moment, the server may see the close first and answer
// the send with BadWindow, which Xlib's default handler turns into an exit
// with status 1. From this call on, a BadWindow for a sent event is ignored;
// every other X error still goes to the handler that was in place. Call it
// before SDL starts its video, so that SDL keeps it for its own connections.
// Only the first call in a process installs it; later calls do nothing, and
// never look at the handler in place (by then it may be SDL's own).
void IgnoreEventsSentToClosedWindows();

}  // namespace vtrak
