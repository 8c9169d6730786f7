#pragma once
// What each program does first and last, so that it behaves the same however
// it was started: from a terminal, a desktop menu, a service or a script that
// closed its streams, ignored or blocked signals, or set a file-size limit.
namespace vtrak {

// First thing in main: opens /dev/null on any of descriptors 0, 1 and 2 that
// is closed (else the first file or connection opened would take its place,
// and a library's warning would land in it), for reading where the stream is
// written and the other way round, so that using a closed stream still fails; gives SIGCHLD (the
// decoding process is waited for) and SIGTERM (the game ends on it) their default actions and
// unblocks every signal; ignores SIGXFSZ and SIGPIPE, so that a file-size limit or a closed pipe
// fails a write, which is reported with one line and status 1, instead of ending the program
// without a word. Left as they come: SIGINT and SIGQUIT (a shell ignores them for its background
// jobs) and SIGHUP (nohup ignores it).
void SettleProcessStart();

// Last thing before a normal end: writes out and closes standard output.
// False, having said so on stderr in one line that starts with `program`,
// when anything written to it could not be stored.
bool CloseStandardOutput(const char* program);

}  // namespace vtrak
