#include "platform/core/crt_rand.h"

namespace vtrak::crt {
namespace {
// The C runtime's generator state: one per program, as in the C runtime itself.
uint32_t randState = 1;
}  // namespace

int rand() {
  randState = randState * 214013u + 2531011u;  // unsigned: wraps modulo 2^32
  return static_cast<int>((randState >> 16) & 0x7FFFu);
}

void srand(uint32_t seed) {
  randState = seed;
}

}  // namespace vtrak::crt
