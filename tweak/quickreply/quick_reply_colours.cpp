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
    return app_base_colour(in) ? app_tint(in) : std::nullopt;
}

Colour prediction_text_colour(const Colour& icon) {
    return colourOf(reverseColor(icon));
}

} // namespace zimtone::tweak::quickreply
