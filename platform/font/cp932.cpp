#include "platform/font/cp932.h"

#include <iconv.h>

namespace vtrak {
namespace {

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Converts with the C library's converter; empty when it has no such table.
std::string Convert(const char* to, const std::string& text) {
  iconv_t converter = iconv_open(to, "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(text.size() * 4 + 8, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      // An unmappable or cut character: skip one byte and go on.
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

uint16_t NextCp932Code(const char* text, size_t length, size_t i, size_t& bytes) {
  const auto lead = static_cast<uint8_t>(text[i]);
  if (IsLeadByte(lead) && i + 1 < length && text[i + 1] != '\0') {
    bytes = 2;
    return static_cast<uint16_t>((lead << 8) | static_cast<uint8_t>(text[i + 1]));
  }
  bytes = 1;
  return lead;
}

char32_t Cp932ToUnicode(uint16_t code) {
  if (code < 0x80) return code;
  if (code >= 0xA1 && code <= 0xDF) return 0xFF61 + (code - 0xA1);  // half-width katakana
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFF));
  const std::string utf32 = Convert("UTF-32LE", bytes);
  if (utf32.size() < 4) return 0;
  char32_t c = 0;
  for (int k = 3; k >= 0; --k) c = (c << 8) | static_cast<uint8_t>(utf32[static_cast<size_t>(k)]);
  return c;
}

std::string Cp932ToUtf8(const std::string& text) {
  return Convert("UTF-8", text);
}

}  // namespace vtrak
