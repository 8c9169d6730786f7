#pragma once
// Text in the Windows Japanese code page (932, Shift-JIS): the font's face
// name and any non-ASCII character the font is asked to draw.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vtrak {

// The code of the character starting at text[i] (one byte, or lead byte << 8
// | trail byte), and how many bytes it takes (1 or 2).
uint16_t NextCp932Code(const char* text, size_t length, size_t i, size_t& bytes);

// The Unicode character for a code; 0 when the code page has none.
char32_t Cp932ToUnicode(uint16_t code);

// A code-page-932 string as UTF-8; characters without a mapping are dropped.
std::string Cp932ToUtf8(const std::string& text);

}  // namespace vtrak
