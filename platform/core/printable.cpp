#include "platform/core/printable.h"

#include <cstdio>

#include "platform/core/utf8.h"

namespace vtrak {

std::string Printable(std::string_view text) {
  std::string shown;
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    char escape[8];
    if (step.valid && step.character == '\\') {
      shown += "\\\\";
    } else if (step.valid && step.character >= 0x80 && step.character <= 0x9F) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(step.character));
      shown += escape;
    } else if (step.valid && step.character >= 0x20 && step.character != 0x7F) {
      shown.append(text.substr(i, step.length));
    } else {
      // A control character, or the bytes of a malformed sequence, one by one.
      for (size_t b = i; b < i + step.length; ++b) {
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[b]));
        shown += escape;
      }
    }
    i += step.length;
  }
  return shown;
}

}  // namespace vtrak
