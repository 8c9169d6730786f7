#pragma once
// UTF-8 text as Unicode characters, for text that is not in code page 932.
#include <string>
#include <string_view>

namespace vtrak {

// Each malformed, overlong or cut sequence becomes one U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

}  // namespace vtrak
