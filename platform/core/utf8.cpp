#include "platform/core/utf8.h"

#include <cstdint>

namespace vtrak {

Utf8Step NextUtf8(std::string_view text, size_t at) {
  Utf8Step step;
  const auto lead = static_cast<uint8_t>(text[at]);
  if (lead < 0x80) return {lead, 1, true};
  // The number of continuation bytes, and the smallest character that
  // sequence's length may carry (anything less is an overlong form).
  const int length = lead >= 0xF0 && lead <= 0xF4   ? 3
                     : lead >= 0xE0 && lead <= 0xEF ? 2
                     : lead >= 0xC2 && lead <= 0xDF ? 1
                                                    : 0;
  if (length == 0) return step;
  const char32_t least = length == 3 ? 0x10000 : length == 2 ? 0x800 : 0x80;
  char32_t c = lead & (0x3Fu >> length);
  int more = length;
  size_t i = at + 1;
  for (; more > 0 && i < text.size(); --more, ++i) {
    const auto next = static_cast<uint8_t>(text[i]);
    if ((next & 0xC0u) != 0x80u) break;
    c = (c << 6) | (next & 0x3Fu);
  }
  step.length = i - at;
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  step.valid = more == 0 && c >= least && c <= 0x10FFFF && !surrogate;
  step.character = c;
  return step;
}

std::u32string DecodeUtf8(std::string_view text) {
  constexpr char32_t kReplacement = 0xFFFD;
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    out.push_back(step.valid ? step.character : kReplacement);
    i += step.length;
  }
  return out;
}

}  // namespace vtrak
