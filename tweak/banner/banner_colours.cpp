#include "tweak/banner/banner_colours.h"

namespace zimtone::tweak::banner {

using namespace zimtone::colour;

Colour button_title_colour(TextColour automatic, bool allow_saturation, double saturation) {
    Colour c = colourOf(automatic);
    return allow_saturation ? modifySaturationWith(c, saturation) : c;
}

} // namespace zimtone::tweak::banner
