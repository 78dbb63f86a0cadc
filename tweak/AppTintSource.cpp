#include "tweak/AppTintSource.h"

#include "colour/bridge/ColourServices.h"
#include "colour/bridge/HexColors.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"

namespace zimtone::tweak {

namespace bridge = zimtone::colour::bridge;

Colour dominant_colour_of(const platform::runtime::Object* icon) {
    return bridge::getDominantColor(icon)->colour();
}

platform::runtime::Ref<platform::runtime::Object> tint_object(const std::optional<Colour>& tint) {
    return tint ? platform::runtime::Ref<platform::runtime::Object>(platform::uikit::UIColor::with(*tint))
                : nullptr;
}

AppTintInputs tint_inputs_now(const std::string* app, const Colour& dominant, SaturationStep step) {
    const auto& s = zimtone::settings::state();
    AppTintInputs in;
    in.specific_app_color = s.SpecificAppColor;
    if (s.SpecificAppColor && s.per_app_colours && app)
        if (auto entry = s.per_app_colours->get(*app)) {
            auto decoded = bridge::colorWithHexString(entry.get());
            in.per_app_entry = decoded ? std::optional(decoded->colour()) : std::nullopt;
        }
    in.dominant = dominant;
    in.allow_saturation = step.allowed;
    in.saturation = step.value;
    return in;
}

} // namespace zimtone::tweak
