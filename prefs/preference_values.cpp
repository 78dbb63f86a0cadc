#include "prefs/preference_values.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace zimtone::prefs {

using platform::foundation::NSNumber;

Ref<Object> value_to_show(const NSDictionary& file, const NSDictionary& row_properties) {
    if (const std::string* key = platform::foundation::string_of(row_properties.get("key").get()))
        if (Ref<Object> stored = file.get(*key))
            return stored;
    return row_properties.get("default");
}

namespace {
constexpr std::array<std::string_view, 1> kBanner = {"BannersEnabled"};
constexpr std::array<std::string_view, 1> kLockscreen = {"LockscreenEnabled"};
constexpr std::array<std::string_view, 7> kNotificationCenter = {
    "NotificationCenterEnabled",  "NotificationLayerEnabled",      "NotificationCenterSaturation",
    "NotificationCenterAlpha",    "NotificationCenterHeaderAlpha", "AllowSaturationNotification",
    "NotificationUnicornEnabled",
};
constexpr std::array<std::string_view, 4> kRequests = {"AutoTextColor", "QRKeyboardColor", "OnlyHeaders",
                                                       "EffectToday"};
} // namespace

std::span<const std::string_view> restart_keys(Page page) {
    switch (page) {
    case Page::Banner:
        return kBanner;
    case Page::Lockscreen:
        return kLockscreen;
    case Page::NotificationCenter:
        return kNotificationCenter;
    case Page::Requests:
        return kRequests;
    case Page::Root:
        break;
    }
    return {};
}

bool needs_restart(Page page, std::string_view key) {
    auto keys = restart_keys(page);
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::string describe_value(const Object* value) {
    if (auto* number = dynamic_cast<const NSNumber*>(value)) {
        if (number->kind() == NSNumber::Kind::Bool)
            return number->boolValue() ? "YES" : "NO";
        char text[32];
        std::snprintf(text, sizeof text, "%g", number->doubleValue());
        return text;
    }
    if (auto* text = platform::foundation::string_of(value))
        return "\"" + *text + "\"";
    return value ? "a value of another kind" : "nothing";
}

} // namespace zimtone::prefs
