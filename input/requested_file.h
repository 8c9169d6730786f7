#pragma once
// The InputState's copy of the shell's requested-file path.
#include "input/input_state.h"

namespace vtrak {

// Copies `path` (null reads as empty) into `copy`, cut to fit with its NUL.
void CopyRequestedFile(char (&copy)[kRequestedFileSize], const char* path);

// Replaces `copy` when `path` is non-empty and differs from it; true if it did.
bool UpdateRequestedFile(char (&copy)[kRequestedFileSize], const char* path);

}  // namespace vtrak
