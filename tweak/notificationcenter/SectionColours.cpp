#include "tweak/notificationcenter/SectionColours.h"

#include "colour/bridge/ColourServices.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "settings/SettingsState.h"
#include "tweak/AppIdentifiers.h"
#include "tweak/AppTintSource.h"
#include "tweak/ApplicationList.h"

namespace zimtone::tweak::notificationcenter {

using namespace platform::runtime;
using namespace platform::foundation;
using platform::uikit::UIColor;
using zimtone::settings::state;
namespace bridge = zimtone::colour::bridge;

namespace {
std::string text_of(const Ref<Object>& s) {
    const std::string* text = string_of(s.get());
    return text ? *text : std::string();
}
} // namespace

NcSettings current_settings() {
    const auto& s = state();
    return {s.NotificationCenterEnabled,
            s.EffectToday,
            s.OnlyHeaders,
            s.NotificationLayerEnabled,
            s.NotificationCenterAlpha,
            s.AutoTextColor,
            s.NotificationUnicornEnabled};
}

std::string raw_section_identifier(Object* controller, int64_t section, ListKind kind) {
    auto* sections = dynamic_cast<NSArray*>(object_getIvarNamed(controller, "_orderedSections"));
    if (!sections || section < 0)
        return {};
    auto info = sections->objectAtIndex(static_cast<uint64_t>(section));
    if (kind == ListKind::Notifications)
        return text_of(
            msg<Ref<Object>>(msg<Ref<Object>>(info, "representedListSection"_sel), "sectionID"_sel));
    if (msg<bool>(info, "respondsToSelector:"_sel, "representedDate"_sel))
        return text_of(random_app_identifier_with_icon()); // bounded; none with an icon gives ""
    return text_of(msg<Ref<Object>>(info, "identifier"_sel));
}

zimtone::colour::Colour icon_colour(const std::string& app) {
    return dominant_colour_of(small_icon(ns(app).get()).get());
}

Ref<Object> base_colour(const std::string& app, const zimtone::colour::Colour& icon) {
    const auto& s = state();
    return tint_object(app_tint(
        tint_inputs_now(&app, icon, {s.AllowSaturationNotification, s.NotificationCenterSaturation})));
}

Ref<Object> automatic_text_colour(const zimtone::colour::Colour& icon) {
    return bridge::reverseColor(UIColor::with(icon).get());
}

} // namespace zimtone::tweak::notificationcenter
