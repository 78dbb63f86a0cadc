#include "prefs/preview_colour.h"

#include "colour/adjustments.h"
#include "colour/random_channel.h"
#include "platform/runtime/Runtime.h"

namespace zimtone::prefs {

using namespace platform::runtime;
using zimtone::colour::Colour;

namespace {
// No type test, as the tweak reads the file: anything that answers the reading counts.
double float_of(const Object* value, double absent) {
    if (value && msg<bool>(value, "respondsToSelector:"_sel, "floatValue"_sel))
        return static_cast<double>(msg<float>(value, "floatValue"_sel));
    return absent;
}
bool bool_of(const Object* value, bool absent) {
    if (value && msg<bool>(value, "respondsToSelector:"_sel, "boolValue"_sel))
        return msg<bool>(value, "boolValue"_sel);
    return absent;
}
} // namespace

PreviewSettings PreviewSettings::from_file(const platform::foundation::NSDictionary& file) {
    PreviewSettings s;
    s.saturation = float_of(file.get("BannerSaturation").get(), 1.0);
    s.alpha = float_of(file.get("BannerAlpha").get(), 1.0);
    s.allow_saturation = bool_of(file.get("AllowSaturation").get(), true);
    s.unicorn = bool_of(file.get("BannersUnicornEnabled").get(), false);
    return s;
}

Colour adjusted_preview(Colour colour, const PreviewSettings& settings) {
    if (settings.allow_saturation)
        colour = zimtone::colour::modifySaturationWith(colour, settings.saturation);
    colour.alpha = settings.alpha;
    return colour;
}

Colour random_preview(uint32_t red, uint32_t green, uint32_t blue, const PreviewSettings& settings) {
    Colour c{zimtone::colour::randomChannel(red), zimtone::colour::randomChannel(green),
             zimtone::colour::randomChannel(blue), 1.0};
    return adjusted_preview(c, settings);
}

} // namespace zimtone::prefs
