// The colour of an app row's preview disc: the banner colour under the banner settings that the
// cell read when it was made.
#pragma once

#include <cstdint>

#include "colour/Colour.h"
#include "platform/foundation/NSDictionary.h"

namespace zimtone::prefs {

struct PreviewSettings {
    double saturation{1.0};
    double alpha{1.0};
    bool allow_saturation{true};
    bool unicorn{false};

    // "BannerSaturation" and "BannerAlpha" through floatValue (single precision),
    // "AllowSaturation" and "BannersUnicornEnabled" through boolValue; absent keys at their defaults.
    static PreviewSettings from_file(const platform::foundation::NSDictionary& file);
};

// The saturation step when allowed, then the alpha.
zimtone::colour::Colour adjusted_preview(zimtone::colour::Colour colour, const PreviewSettings& settings);

// A cycling step from three random draws (red, green, blue), each channel n/256, then adjusted.
zimtone::colour::Colour random_preview(uint32_t red, uint32_t green, uint32_t blue,
                                       const PreviewSettings& settings);

} // namespace zimtone::prefs
