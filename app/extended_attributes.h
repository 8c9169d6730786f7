#pragma once

#include <string>

namespace vtrak {

// Gives the file open on `fd` the extended attributes of the file at `old`
// (its access control list among them), keeping those it has already. False,
// with `why` said, when one cannot be given.
bool TakeExtendedAttributes(int fd, const std::string& old, std::string& why);

}  // namespace vtrak
