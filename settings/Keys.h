// The settings domain shared by the tweak and the pane: file, keys with their types, defaults,
// groups and restart marks, and the notification names. One definition for both deliverables.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace zimtone::settings {

inline constexpr const char* kSettingsFile = "/User/Library/Preferences/org.quillhaven.zimtonepro2.plist";
inline constexpr const char* kPerAppColoursKey = "Specific_App_Color";

enum class Group { Banner, NotificationCenter, Lockscreen, Requests };
enum class KeyType { Bool, Number };

struct KeyInfo {
    std::string_view key;
    KeyType type;
    double default_value; // 1 or 0 for bools
    Group group;
    bool needs_restart;
};

// In each group's load order.
inline constexpr std::array kKeys = {
    KeyInfo{"BannersEnabled", KeyType::Bool, 1, Group::Banner, true},
    KeyInfo{"BannerSaturation", KeyType::Number, 1.0, Group::Banner, false},
    KeyInfo{"BannerAlpha", KeyType::Number, 1.0, Group::Banner, false},
    KeyInfo{"BannersUnicornEnabled", KeyType::Bool, 0, Group::Banner, false},
    KeyInfo{"AllowSaturation", KeyType::Bool, 1, Group::Banner, false},
    KeyInfo{"SpecificAppColor", KeyType::Bool, 0, Group::Banner, false},
    KeyInfo{"NotificationCenterEnabled", KeyType::Bool, 1, Group::NotificationCenter, true},
    KeyInfo{"NotificationCenterSaturation", KeyType::Number, 1.0, Group::NotificationCenter, true},
    KeyInfo{"NotificationLayerEnabled", KeyType::Bool, 1, Group::NotificationCenter, true},
    KeyInfo{"NotificationCenterAlpha", KeyType::Number, 1.0, Group::NotificationCenter, true},
    KeyInfo{"NotificationCenterHeaderAlpha", KeyType::Number, 1.0, Group::NotificationCenter, true},
    KeyInfo{"AllowSaturationNotification", KeyType::Bool, 1, Group::NotificationCenter, true},
    KeyInfo{"NotificationUnicornEnabled", KeyType::Bool, 0, Group::NotificationCenter, true},
    KeyInfo{"LockscreenEnabled", KeyType::Bool, 1, Group::Lockscreen, true},
    KeyInfo{"LockscreenSaturation", KeyType::Number, 1.0, Group::Lockscreen, false},
    KeyInfo{"LockscreenAlpha", KeyType::Number, 1.0, Group::Lockscreen, false},
    KeyInfo{"LockscreenBlurEnabled", KeyType::Bool, 1, Group::Lockscreen, false},
    KeyInfo{"AllowSaturationLock", KeyType::Bool, 1, Group::Lockscreen, false},
    KeyInfo{"LockscreenUnicornEnabled", KeyType::Bool, 0, Group::Lockscreen, false},
    KeyInfo{"AutoTextColor", KeyType::Bool, 1, Group::Requests, true},
    KeyInfo{"QRKeyboardColor", KeyType::Bool, 1, Group::Requests, true},
    KeyInfo{"OnlyHeaders", KeyType::Bool, 0, Group::Requests, true},
    KeyInfo{"tavoEffect", KeyType::Bool, 0, Group::Requests, false},
    KeyInfo{"EffectToday", KeyType::Bool, 1, Group::Requests, true},
};

inline constexpr std::array kGroups = {Group::Banner, Group::NotificationCenter, Group::Lockscreen,
                                       Group::Requests};

// The keys of one group, in load order.
std::span<const KeyInfo> keys_of(Group group);
std::optional<KeyInfo> find_key(std::string_view key);
std::string_view group_name(Group group);

namespace notifications {
inline constexpr const char* kLoadBanner = "org.quillhaven.zimtonepro2/load-Banner";
inline constexpr const char* kLoadNotificationCenter = "org.quillhaven.zimtonepro2/load-NotificationCenter";
inline constexpr const char* kLoadLockscreen = "org.quillhaven.zimtonepro2/load-Lockscreen";
inline constexpr const char* kLoadRequests = "org.quillhaven.zimtonepro2/load-Requests";
inline constexpr const char* kTestBanner = "org.quillhaven.zimtonepro2/inApp-TestBanner";
inline constexpr const char* kTestLockscreenBanner = "org.quillhaven.zimtonepro2/lockScreen-TestBanner";
inline constexpr const char* kRespring = "org.quillhaven.zimtonepro2/respring";
} // namespace notifications

// The notification after which the tweak rereads the group.
const char* reload_notification(Group group);

} // namespace zimtone::settings
