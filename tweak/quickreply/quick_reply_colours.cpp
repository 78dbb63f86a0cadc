#include "tweak/quickreply/quick_reply_colours.h"

#include "colour/adjustments.h"
#include "colour/random_channel.h"

namespace zimtone::tweak::quickreply {

using namespace zimtone::colour;

ReplyColours reply_colours(const Colour& icon, double saturation) {
    Colour contrast = colourOf(reverseColor(icon));
    Colour cover = modifySaturationWith(contrast, saturation);
    Colour fill = cover;
    fill.alpha = 0.5;
    return {icon, contrast, fill, cover};
}

std::optional<Colour> keyboard_colour(const KeyboardInputs& in) {
    std::optional<Colour> base = in.dominant;
    if (in.specific_app_color && in.per_app_entry)
        base = *in.per_app_entry;
    if (!in.allow_saturation || !base)
        return base;
    return modifySaturationWith(*base, in.saturation);
}

std::optional<Colour> with_alpha(const std::optional<Colour>& colour, double alpha) {
    if (!colour)
        return std::nullopt;
    Colour c = *colour;
    c.alpha = alpha;
    return c;
}

Colour prediction_text_colour(const Colour& icon) {
    return colourOf(reverseColor(icon));
}

} // namespace zimtone::tweak::quickreply
