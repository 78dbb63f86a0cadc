#include "tweak/CyclingColour.h"

#include "colour/adjustments.h"
#include "colour/random_channel.h"

namespace zimtone::tweak {

colour::Colour cycling_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha, bool allow_saturation,
                              double saturation) {
    using namespace zimtone::colour;
    Colour c { randomChannel(red), randomChannel(green), randomChannel(blue), alpha };
    return allow_saturation ? modifySaturationWith(c, saturation) : c;
}

} // namespace zimtone::tweak
