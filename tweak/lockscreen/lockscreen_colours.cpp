#include "tweak/lockscreen/lockscreen_colours.h"

#include "tweak/CyclingColour.h"

namespace zimtone::tweak::lockscreen {

using namespace zimtone::colour;

std::optional<Colour> cell_colour(const CellInputs& in) {
    return with_alpha(app_tint(in), in.alpha);
}

bool row_sets_gradient(int64_t section, int64_t row, bool tavo_effect) {
    return tavo_effect && section == 0 && row == 0;
}

Colour cycling_gradient_colour(uint32_t red, uint32_t green, uint32_t blue, double alpha) {
    return cycling_colour(red, green, blue, alpha, false, 0.0);
}

Colour text_colour(const Colour& dominant) {
    Colour c = colourOf(reverseColor(dominant));
    c.alpha = 1.0;
    return c;
}

} // namespace zimtone::tweak::lockscreen
