// Saturation replacement and the automatic black-or-white text colour.
#pragma once

#include "colour/Colour.h"

namespace zimtone::colour {

// Hue, saturation and brightness as the platform's colour class reports them: brightness is the
// largest component, saturation the spread over it, hue in [0, 1) measured from red.
struct HSB {
    double hue{0};
    double saturation{0};
    double brightness{0};
    double alpha{1};
};

// Greys (and black) have hue 0 and saturation 0.
HSB toHSB(const Colour& colour);
// The six-sector recomposition; a hue of 1 wraps round to red.
Colour fromHSB(const HSB& hsb);

// The colour with its saturation replaced by the given value (not scaled by it); hue, brightness
// and alpha are kept. A value outside 0..1 is clamped, and NaN counts as 0.
Colour modifySaturationWith(const Colour& colour, double saturation);

enum class TextColour { White, Black };

// The text colour that stays readable on the given background: white when its BT.601 luma is
// below one half, black otherwise (a luma that is not a number included).
TextColour reverseColor(const Colour& background);

constexpr Colour colourOf(TextColour text) {
    return text == TextColour::White ? Colour::opaqueWhite() : Colour::opaqueBlack();
}

} // namespace zimtone::colour
