#pragma once
// The program's entry routine: start-up, the frame loop and shutdown.
namespace vtrak {

// Returns the exit code: 0 after a normal end and when another copy runs.
int RunShell(int argc, const char* const* argv);

}  // namespace vtrak
