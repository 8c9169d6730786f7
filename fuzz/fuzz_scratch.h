#pragma once
// The working folder every fuzz target runs in: a fresh temp folder with a
// data/ folder inside, so that the Ogg conversion has somewhere to write and
// nothing of the user's is touched.
#include <string>

namespace vtrak::fuzz {

// Makes the folder, changes into it and returns its path; ends the process
// with a message when that is impossible.
std::string EnterScratchFolder();

// Replaces `name` in the working folder with the given bytes; false when the
// write fails.
bool WriteInput(const char* name, const unsigned char* data, size_t size);

}  // namespace vtrak::fuzz
