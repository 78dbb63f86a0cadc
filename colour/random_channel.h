// The channel rule of the colour-cycling effects.
#pragma once

#include <cstdint>

namespace zimtone::colour {

// One channel of a random cycling colour: the low byte of a 32-bit random value, divided by 256,
// so channels land on n/256 and never reach 1.0.
constexpr double randomChannel(uint32_t n) {
    return (n & 0xFF) * 0.00390625;
}

} // namespace zimtone::colour
