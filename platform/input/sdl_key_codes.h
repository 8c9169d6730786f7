#pragma once
// SDL scancodes to DirectInput key codes. A DirectInput key code is the PC
// set-1 scan code of the key, with 0x80 added for keys sent with the E0
// prefix; Pause is 0xC5, and PrintScreen (SysReq) 0xB7.
#include <SDL2/SDL_scancode.h>

#include <cstdint>

namespace vtrak {

// The key code for `scancode`, or 0 when the key has none.
uint8_t DikFromScancode(SDL_Scancode scancode);

}  // namespace vtrak
