#include "platform/core/crt_rand.h"

namespace vtrak::crt {
namespace {
// The C runtime's generator state: one per program, as in the C runtime itself.
uint32_t generatorState = 1;
}  // namespace

int rand() {
  generatorState = generatorState * 214013u + 2531011u;  // unsigned: wraps modulo 2^32
  return static_cast<int>((generatorState >> 16) & 0x7FFFu);
}

void srand(uint32_t seed) {
  generatorState = seed;
}

uint32_t randState() {
  return generatorState;
}

}  // namespace vtrak::crt
