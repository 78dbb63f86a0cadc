#include "tweak/lockscreen/lockscreen_colours.h"

#include "colour/random_channel.h"

namespace zimtone::tweak::lockscreen {

using namespace zimtone::colour;

std::optional<Colour> cell_colour(const CellInputs& in) {
    std::optional<Colour> base = in.dominant;
    if (in.specific_app_color && in.per_app_entry)
        base = *in.per_app_entry;
    // The saturation step reads a missing colour as all-zero components, so it yields clear black.
    if (in.allow_saturation)
        base = modifySaturationWith(base.value_or(Colour{0, 0, 0, 0}), in.saturation);
    if (!base)
        return std::nullopt;
    base->alpha = in.alpha;
    return base;
}

bool row_sets_gradient(int64_t section, int64_t row, bool tavo_effect) {
    return tavo_effect && section == 0 && row == 0;
}

Colour cycling_gradient_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha) {
    return {randomChannel(red), randomChannel(green), randomChannel(blue), alpha};
}

Colour text_colour(const Colour& dominant) {
    Colour c = colourOf(reverseColor(dominant));
    c.alpha = 1.0;
    return c;
}

} // namespace zimtone::tweak::lockscreen
