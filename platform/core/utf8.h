#pragma once
// UTF-8 text as Unicode characters, for text that is not in code page 932,
// and for showing text that came from outside.
#include <cstddef>
#include <string>
#include <string_view>

namespace vtrak {

// One step through UTF-8 text: the character that starts at a byte, and how
// many bytes it takes. A malformed, overlong or cut sequence is not valid and
// takes the bytes that belong to it (at least one).
struct Utf8Step {
  char32_t character = 0;
  size_t length = 1;
  bool valid = false;
};
Utf8Step NextUtf8(std::string_view text, size_t at);

// Each malformed, overlong or cut sequence becomes one U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

}  // namespace vtrak
