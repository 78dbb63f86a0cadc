// The one random source of a process. Seeded from $ZIMTONE_RANDOM_SEED when set, so runs and
// pictures can be reproduced; from the system's entropy otherwise.
#pragma once

#include <cstdint>

namespace platform::foundation {

uint32_t arc4random();
void seed_random(uint64_t seed);

} // namespace platform::foundation
