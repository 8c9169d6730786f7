#include "platform/window/message_box.h"

#include <SDL2/SDL.h>
#include <langinfo.h>

#include <clocale>
#include <cstring>

namespace vtrak {
namespace {

// X11's message box draws through the locale's font set: outside a UTF-8
// locale the Japanese text would come out blank.
void EnsureUtf8Locale() {
  std::setlocale(LC_ALL, "");
  const char* codeset = nl_langinfo(CODESET);
  if (codeset == nullptr || std::strcmp(codeset, "UTF-8") != 0) {
    std::setlocale(LC_ALL, "C.UTF-8");
  }
}

}  // namespace

bool ShowMessageBox(const char* utf8Text) {
  EnsureUtf8Locale();
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, nullptr, utf8Text, nullptr) == 0;
}

}  // namespace vtrak
