#include "app/setting_values.h"

#include <cstdio>

#include "platform/core/utf8.h"
#include "platform/core/whole_number.h"

namespace vtrak {
namespace {

std::optional<bool> Switch(std::string_view text) {
  for (std::string_view on : {"true", "yes", "on", "1"}) {
    if (text == on) return true;
  }
  for (std::string_view off : {"false", "no", "off", "0"}) {
    if (text == off) return false;
  }
  return std::nullopt;
}

// `text` in quotes, and the first character in it beyond ASCII named: a
// byte order mark or a no-break space would otherwise read as nothing or a space.
std::string Quoted(std::string_view text) {
  // Appended rather than `"'" + std::string(text)`: GCC 12 at -O3 sees an
  // overlap that cannot happen in that operator+ (a false -Wrestrict).
  std::string quoted = std::string("'").append(text).append("'");
  for (size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    if (step.valid && step.character >= 0x80) {
      char name[64];
      std::snprintf(name, sizeof name, " (holding U+%04X, not ASCII)",
                    static_cast<unsigned>(step.character));
      return quoted + name;
    }
    i += step.length;
  }
  return quoted;
}

bool Refuse(std::string& why, std::string_view key, const char* wanted, std::string_view value) {
  why = std::string(key) + " takes " + wanted + ", not " + Quoted(value);
  return false;
}

}  // namespace

bool ApplySetting(std::string_view key, std::string_view value, LaunchOptions& options,
                  std::string& why) {
  if (key == "scale") {
    const std::optional<int64_t> scale = WholeNumber(value, kMinScale, kMaxScale);
    if (!scale) return Refuse(why, key, "a whole number from 1 to 8", value);
    options.scale = static_cast<int>(*scale);
    return true;
  }
  if (key == "rate") {
    const std::optional<int64_t> rate = WholeNumber(value, kMinRate, kMaxRate);
    if (!rate) return Refuse(why, key, "a whole number of steps a second from 1 to 1000", value);
    options.rate = static_cast<int>(*rate);
    return true;
  }
  if (key == "fullscreen") {
    const std::optional<bool> fullscreen = Switch(value);
    if (!fullscreen) return Refuse(why, key, "true or false", value);
    options.fullscreen = fullscreen;
    return true;
  }
  why = "no setting is called " + Quoted(key) + " (scale, fullscreen and rate are)";
  return false;
}

LaunchOptions Overlay(const LaunchOptions& base, const LaunchOptions& over) {
  LaunchOptions merged = base;
  if (over.scale) merged.scale = over.scale;
  if (over.fullscreen) merged.fullscreen = over.fullscreen;
  if (over.rate) merged.rate = over.rate;
  return merged;
}

}  // namespace vtrak
