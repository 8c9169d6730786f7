#pragma once
// Finding the font file for a face name through fontconfig.
#include <optional>
#include <string>

namespace vtrak {

struct FontFile {
  std::string path;
  int index = 0;  // face within the file
};

// The face for `family` (UTF-8) of the given weight (400 normal, 700 bold).
// The Windows names of the Japanese proportional Gothic ("ＭＳ Ｐゴシック",
// "MS PGothic") resolve to IPAPGothic through the program's own alias; a face
// that is not installed gives the first proportional sans-serif face that has
// Latin letters. Empty when fontconfig offers nothing usable.
std::optional<FontFile> FindFontFile(const std::string& family, int weight, bool italic);

}  // namespace vtrak
