#pragma once
// Sound files come from the user and are not trusted: only regular files are
// read, and opening one never blocks. A FIFO, a device or a folder is refused
// before a byte is read from it, so a bad "bgm.wav" means silence, as a
// missing one does.
#include "platform/core/file_descriptor.h"

namespace vtrak {

// The regular file at `path`, opened for reading; an empty descriptor when
// it cannot be opened (`error` is then the errno) or is not a regular file
// (`notRegular` is then true).
FileDescriptor OpenSoundFile(const char* path, int& error, bool& notRegular);

}  // namespace vtrak
