// The game's random generator: the classic linear congruential rand/srand pair.
#include "shared/random.h"

namespace {
// Generator state; a fresh program behaves as if seeded with 1, as rand does.
unsigned int State = 1;
}  // namespace

void SeedRandom(unsigned int seed) { State = seed; }

int Random() {
    State = State * 214013u + 2531011u;
    return static_cast<int>((State >> 16) & 0x7fffu);
}
