#include "tweak/AppTint.h"

#include "colour/adjustments.h"

namespace zimtone::tweak {

std::optional<Colour> app_base_colour(const AppTintInputs& in) {
    if (in.specific_app_color && in.per_app_entry)
        return *in.per_app_entry;
    return in.dominant;
}

std::optional<Colour> app_tint(const AppTintInputs& in) {
    auto base = app_base_colour(in);
    if (!in.allow_saturation)
        return base;
    return zimtone::colour::modifySaturationWith(base.value_or(Colour{0, 0, 0, 0}), in.saturation);
}

std::optional<Colour> with_alpha(const std::optional<Colour>& colour, double alpha) {
    if (!colour)
        return std::nullopt;
    Colour c = *colour;
    c.alpha = alpha;
    return c;
}

} // namespace zimtone::tweak
