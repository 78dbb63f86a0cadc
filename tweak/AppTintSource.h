// Where an app's tint comes from on the device: the live settings, the app's per-app entry and
// its icon, gathered for the shared tint rule.
#pragma once

#include <string>

#include "platform/runtime/Runtime.h"
#include "tweak/AppTint.h"

namespace zimtone::tweak {

// A surface's own saturation switch and value.
struct SaturationStep {
    bool allowed{true};
    double value{1.0};
};

// An icon image's dominant colour (opaque black for nil or a non-image). A hook works it out once
// and hands it to every colour it derives from the icon.
Colour dominant_colour_of(const platform::runtime::Object* icon);

// The colour object a hook applies for a tint; nil for no colour.
platform::runtime::Ref<platform::runtime::Object> tint_object(const std::optional<Colour>& tint);

// The tint inputs of the moment: `app` names the per-app entry (none for a null name).
AppTintInputs tint_inputs_now(const std::string* app, const Colour& dominant, SaturationStep step);

} // namespace zimtone::tweak
