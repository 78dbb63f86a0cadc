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

// The tint inputs of the moment: `app` names the per-app entry (none for a null name), `icon`
// gives the dominant colour (opaque black for nil or a non-image).
AppTintInputs tint_inputs_now(const std::string* app, const platform::runtime::Object* icon,
                              SaturationStep step);

} // namespace zimtone::tweak
