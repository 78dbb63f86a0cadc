#include "tweak/quickreply/MessagesColours.h"

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIColor.h"
#include "settings/SettingsState.h"
#include "tweak/AppTintSource.h"
#include "tweak/ApplicationList.h"
#include "tweak/CyclingColour.h"

namespace zimtone::tweak::quickreply {

using namespace platform::runtime;
using platform::foundation::ns;
using platform::uikit::UIColor;
using zimtone::settings::state;

namespace {

// Looked up afresh at each use, so a changed icon shows on the next keyboard.
Colour icon_colour() {
    return dominant_colour_of(small_icon(ns(kMessagesApp)).get());
}

std::optional<Colour> current_keyboard_colour() {
    const auto& s = state();
    const std::string app = kMessagesApp;
    return keyboard_colour(tint_inputs_now(&app, icon_colour(), {s.AllowSaturation, s.BannerSaturation}));
}

} // namespace

Ref<Object> colour_object(const Colour& colour) {
    return UIColor::with(colour);
}

ReplyColours current_reply_colours() {
    return reply_colours(icon_colour(), state().BannerSaturation);
}

bool keyboard_enabled_now() {
    return keyboard_enabled(state().BannersEnabled, state().QRKeyboardColor);
}

Ref<Object> keyboard_background_now() {
    return tint_object(with_alpha(current_keyboard_colour(), state().BannerAlpha));
}

Ref<Object> keyboard_tint_now() {
    return tint_object(current_keyboard_colour());
}

Ref<Object> prediction_text_colour_now() {
    return colour_object(prediction_text_colour(icon_colour()));
}

Ref<Object> cycling_colour_now() {
    const auto& s = state();
    return colour_object(next_cycling_colour(1.0, s.AllowSaturation, s.BannerSaturation));
}

} // namespace zimtone::tweak::quickreply

namespace zimtone::tweak::quickreply {

Ref<Object> cycling_background_now() {
    return msg<Ref<Object>>(cycling_colour_now(), "colorWithAlphaComponent:"_sel, state().BannerAlpha);
}

} // namespace zimtone::tweak::quickreply
