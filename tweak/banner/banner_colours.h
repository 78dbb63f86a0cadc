// The banner's colour decisions, free of any host: which app, which tint, which foreground.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "colour/Colour.h"
#include "colour/adjustments.h"

namespace zimtone::tweak::banner {

using zimtone::colour::Colour;

inline constexpr const char* kUnknownApp = "Unknown";

// What the tint depends on: the settings of the moment and what is known of the app.
struct TintInputs {
    bool specific_app_color { false };
    // The app's per-app entry: absent when the dictionary has none for the app; present but
    // empty when the entry does not decode as a colour.
    std::optional<std::optional<Colour>> per_app_entry;
    Colour dominant;
    bool allow_saturation { true };
    double saturation { 1.0 };
};

// The base colour with the saturation step; nullopt is "no colour" (an undecodable per-app
// entry taken as it comes, without the saturation step).
std::optional<Colour> banner_tint(const TintInputs& in);

// The saturation step of a colour that may be missing: a missing colour has every component 0
// (what the decomposition leaves when sent to nil).
Colour saturated(const std::optional<Colour>& colour, double saturation);

// Button titles take the automatic colour, with the saturation step when it is allowed.
Colour button_title_colour(zimtone::colour::TextColour automatic, bool allow_saturation, double saturation);

} // namespace zimtone::tweak::banner
