// The colour of every colour-cycling tick: three random draws (red, green, blue, in that order),
// each channel its low byte over 256, at the surface's opacity, with the saturation step when the
// surface allows it.
#pragma once

#include <cstdint>

#include "colour/Colour.h"

namespace zimtone::tweak {

colour::Colour cycling_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha, bool allow_saturation,
                              double saturation);

} // namespace zimtone::tweak
