#pragma once
// A whole number as a person writes one in an option or a setting: decimal
// digits only, nothing before or after them.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vtrak {

// `text` as a number from `low` to `high`; empty when it is not one.
inline std::optional<int64_t> WholeNumber(std::string_view text, int64_t low, int64_t high) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  int64_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (error != std::errc() || stop != end || number < low || number > high) return std::nullopt;
  return number;
}

}  // namespace vtrak
