// An app's tint, the rule every surface shares: the app's per-app colour when "SpecificAppColor"
// is on and the dictionary has an entry for it, else its icon's dominant colour; then the
// saturation step when the surface allows it. Each surface adds only its own step after this
// (opacity, row fade, gradient).
#pragma once

#include <optional>

#include "colour/Colour.h"

namespace zimtone::tweak {

using zimtone::colour::Colour;

// What the tint depends on: the settings of the moment and what is known of the app.
struct AppTintInputs {
    bool specific_app_color{false};
    // The app's per-app entry: absent when the dictionary has none for the app; present but
    // empty when the entry does not decode as a colour.
    std::optional<std::optional<Colour>> per_app_entry;
    Colour dominant;
    bool allow_saturation{true};
    double saturation{1.0};
};

// The per-app colour or the icon's, before the saturation step; nullopt is "no colour" (an
// undecodable per-app entry).
std::optional<Colour> app_base_colour(const AppTintInputs& in);

// The base colour with the saturation step when allowed. The step reads a missing colour as
// all-zero components (what the decomposition leaves when sent to nil), so it yields clear black;
// without the step a missing colour stays missing.
std::optional<Colour> app_tint(const AppTintInputs& in);

// A colour at an opacity; no colour stays no colour.
std::optional<Colour> with_alpha(const std::optional<Colour>& colour, double alpha);

} // namespace zimtone::tweak
