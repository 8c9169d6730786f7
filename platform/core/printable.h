#pragma once
// Text that came from outside (a file name, an option's value, an unknown
// command), made safe to print on a terminal: no byte of it can move the
// cursor, change colours or start a terminal command.
#include <string>
#include <string_view>

namespace vtrak {

// `text` with the backslash doubled and, as escapes, every control character
// (C0, DEL and C1, written \xNN or, for a C1 character in UTF-8, \u00NN) and
// every byte that is not part of valid UTF-8 (\xNN).
std::string Printable(std::string_view text);

}  // namespace vtrak
