#include "tweak/banner/banner_colours.h"

#include "colour/random_channel.h"

namespace zimtone::tweak::banner {

using namespace zimtone::colour;

Colour saturated(const std::optional<Colour>& colour, double saturation) {
    return modifySaturationWith(colour.value_or(Colour { 0, 0, 0, 0 }), saturation);
}

std::optional<Colour> banner_tint(const TintInputs& in) {
    std::optional<Colour> base = in.dominant;
    if (in.specific_app_color && in.per_app_entry) base = *in.per_app_entry;
    if (!in.allow_saturation) return base;
    return saturated(base, in.saturation);
}

Colour button_title_colour(TextColour automatic, bool allow_saturation, double saturation) {
    Colour c = colourOf(automatic);
    return allow_saturation ? modifySaturationWith(c, saturation) : c;
}

} // namespace zimtone::tweak::banner
