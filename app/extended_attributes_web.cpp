#include "app/extended_attributes.h"

namespace vtrak {

// The page's in-memory file system keeps no extended attributes: there are
// none to carry over.
bool TakeExtendedAttributes(int, const std::string&, std::string&) {
  return true;
}

}  // namespace vtrak
