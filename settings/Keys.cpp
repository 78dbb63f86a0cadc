#include "settings/Keys.h"

#include <algorithm>

namespace zimtone::settings {

std::span<const KeyInfo> keys_of(Group group) {
    auto first = std::find_if(kKeys.begin(), kKeys.end(), [group](auto& k) { return k.group == group; });
    auto last = std::find_if(first, kKeys.end(), [group](auto& k) { return k.group != group; });
    return {first, last};
}

std::optional<KeyInfo> find_key(std::string_view key) {
    auto it = std::find_if(kKeys.begin(), kKeys.end(), [key](auto& k) { return k.key == key; });
    return it == kKeys.end() ? std::nullopt : std::optional(*it);
}

std::string_view group_name(Group group) {
    switch (group) {
    case Group::Banner:
        return "Banner";
    case Group::NotificationCenter:
        return "NotificationCenter";
    case Group::Lockscreen:
        return "Lockscreen";
    case Group::Requests:
        return "Requests";
    }
    return "";
}

const char* reload_notification(Group group) {
    switch (group) {
    case Group::Banner:
        return notifications::kLoadBanner;
    case Group::NotificationCenter:
        return notifications::kLoadNotificationCenter;
    case Group::Lockscreen:
        return notifications::kLoadLockscreen;
    case Group::Requests:
        return notifications::kLoadRequests;
    }
    return "";
}

} // namespace zimtone::settings
