#pragma once
// The program's own copy of the Windows C runtime's pseudo-random generator:
// state = state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF.
// The C library's rand() yields up to 2^31 - 1 and must never be used.
#include <cstdint>

namespace vtrak::crt {

inline constexpr int kRandMax = 32767;

// The next value, 0..32767.
int rand();
// Restarts the sequence; seed 1 is the state before any srand.
void srand(uint32_t seed);
// The state the next rand() advances: srand(randState()) changes nothing, so a
// run kept with it draws the same spans again.
uint32_t randState();

}  // namespace vtrak::crt
