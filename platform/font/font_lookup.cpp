#include "platform/font/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <functional>
#include <memory>

namespace vtrak {
namespace {

// fontconfig knows nothing of the Windows face names; the program supplies
// the alias itself rather than relying on the desktop's configuration.
constexpr char kAliases[] = R"(<?xml version="1.0"?>
<fontconfig>
  <alias binding="same">
    <family>ＭＳ Ｐゴシック</family>
    <prefer><family>IPAPGothic</family></prefer>
  </alias>
  <alias binding="same">
    <family>MS PGothic</family>
    <prefer><family>IPAPGothic</family></prefer>
  </alias>
</fontconfig>
)";

struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

// Proportional (dual-width faces are fixed-pitch for Latin letters), scalable
// and able to draw the game's Latin texts.
bool Usable(FcPattern* font) {
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
  if (spacing == FC_MONO || spacing == FC_DUAL || spacing == FC_CHARCELL) return false;
  FcBool scalable = FcTrue;
  FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
  if (!scalable) return false;
  FcCharSet* charset = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch) return false;
  for (FcChar32 c : {U'm', U'E', U'a', U'0'}) {
    if (!FcCharSetHasChar(charset, c)) return false;
  }
  return true;
}

// One of the font's family names is among the pattern's families.
bool NamesOneOf(FcPattern* font, FcPattern* pattern) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    FcChar8* wanted = nullptr;
    for (int j = 0; FcPatternGetString(pattern, FC_FAMILY, j, &wanted) == FcResultMatch; ++j) {
      if (FcStrCmpIgnoreCase(name, wanted) == 0) return true;
    }
  }
  return false;
}

bool FamilyContains(FcPattern* font, const char* part) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrStrIgnoreCase(name, reinterpret_cast<const FcChar8*>(part)) != nullptr) return true;
  }
  return false;
}

}  // namespace

std::optional<FontFile> FindFontFile(const std::string& family, int weight, bool italic) {
  std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
  if (!config) return std::nullopt;
  FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(kAliases), FcFalse);

  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, weight >= 550 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern.get(), FC_SPACING, FC_PROPORTIONAL);
  FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
      FcFontSort(config.get(), pattern.get(), FcFalse, nullptr, &result));
  if (!fonts) return std::nullopt;
  // Best first: a face the request names (after the alias and the desktop's
  // own substitutions), then any sans-serif face, then anything usable.
  const auto named = [&](FcPattern* font) { return NamesOneOf(font, pattern.get()); };
  const auto sans = [](FcPattern* font) { return FamilyContains(font, "sans"); };
  const auto any = [](FcPattern*) { return true; };
  for (const auto& wanted : {std::function<bool(FcPattern*)>(named), {sans}, {any}}) {
    for (int i = 0; i < fonts->nfont; ++i) {
      FcPattern* font = fonts->fonts[i];
      FcChar8* file = nullptr;
      if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !Usable(font) ||
          !wanted(font)) {
        continue;
      }
      int index = 0;
      FcPatternGetInteger(font, FC_INDEX, 0, &index);
      return FontFile{reinterpret_cast<const char*>(file), index};
    }
  }
  return std::nullopt;
}

}  // namespace vtrak
