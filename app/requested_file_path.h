#pragma once
// The requested-file path: a 260-byte buffer holding a zero-terminated path,
// filled from the command line at start-up and from the first file of each drop.
#include <cstddef>
#include <string_view>

namespace vtrak {

inline constexpr size_t kPathBufferSize = 260;
using RequestedFilePath = char[kPathBufferSize];

// Rebuilds the command line as Windows' shell passes files (every argument in
// double quotes, joined by single spaces), drops its first character, keeps at
// most 259 of the rest, and drops the last character of what it kept. A single
// path argument thus arrives intact.
void RequestedPathFromArguments(int argc, const char* const* argv, RequestedFilePath& path);

// Stores a dropped file's path, cut to the 259 characters the buffer holds.
void StoreDroppedFile(std::string_view file, RequestedFilePath& path);

}  // namespace vtrak
