// HSB round trip for the saturation setting, and the luma test for automatic text colours.
#include "colour/adjustments.h"

#include <algorithm>
#include <cmath>

namespace zimtone::colour {

HSB toHSB(const Colour& colour) {
    const double red = colour.red, green = colour.green, blue = colour.blue;
    const double max = std::max({red, green, blue});
    const double min = std::min({red, green, blue});
    const double delta = max - min;

    HSB hsb;
    hsb.brightness = max;
    hsb.alpha = colour.alpha;
    hsb.saturation = max != 0 ? delta / max : 0;
    if (delta == 0)
        return hsb;

    double sector;
    if (red == max)
        sector = (green - blue) / delta;
    else if (green == max)
        sector = 2 + (blue - red) / delta;
    else
        sector = 4 + (red - green) / delta;
    hsb.hue = sector / 6;
    if (hsb.hue < 0)
        hsb.hue += 1;
    return hsb;
}

Colour fromHSB(const HSB& hsb) {
    const double value = hsb.brightness;
    const double saturation = hsb.saturation;
    const double scaled = hsb.hue * 6;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    const double p = value * (1 - saturation);
    const double q = value * (1 - saturation * fraction);
    const double t = value * (1 - saturation * (1 - fraction));

    // Hue 1 (or any whole turn) lands on sector 6 and wraps to red; NaN falls to sector 0.
    double turns = std::fmod(whole, 6.0);
    int sector = std::isfinite(turns) ? static_cast<int>(turns) : 0;
    if (sector < 0)
        sector += 6;

    switch (sector) {
    case 0:
        return {value, t, p, hsb.alpha};
    case 1:
        return {q, value, p, hsb.alpha};
    case 2:
        return {p, value, t, hsb.alpha};
    case 3:
        return {p, q, value, hsb.alpha};
    case 4:
        return {t, p, value, hsb.alpha};
    default:
        return {value, p, q, hsb.alpha};
    }
}

Colour modifySaturationWith(const Colour& colour, double saturation) {
    HSB hsb = toHSB(colour);
    hsb.saturation = std::isnan(saturation) ? 0.0 : std::clamp(saturation, 0.0, 1.0);
    return fromHSB(hsb);
}

TextColour reverseColor(const Colour& background) {
    const double luma = (background.red * 299 + background.green * 587 + background.blue * 114) / 1000;
    return luma < 0.5 ? TextColour::White : TextColour::Black;
}

} // namespace zimtone::colour
