// Finding the face in the browser. There is no fontconfig: the page puts the
// one face the game draws with, the Japanese proportional Gothic cut down to
// the characters the game shows, into its file system, and every face name
// resolves to it, as every Windows name of that face does on Linux.
#include <sys/stat.h>

#include "platform/font/font_lookup.h"

namespace vtrak {

inline constexpr const char* kPageFace = "/face/vtrak-pgothic.ttf";

std::optional<FontFile> FindFontFile(const std::string&, int, bool) {
  struct stat status = {};
  if (stat(kPageFace, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FontFile{kPageFace, 0};
}

}  // namespace vtrak
