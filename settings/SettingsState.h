// The tweak's process-wide settings: one variable per key (bools in one byte, numbers as doubles
// that passed through single precision), the last dictionary read from the file, and the per-app
// colour dictionary. Owned by the process and never freed; written and read on the main thread.
#pragma once

#include <string_view>
#include <variant>

#include "platform/foundation/NSDictionary.h"

namespace zimtone::settings {

struct SettingsState {
    bool BannersEnabled{false};
    double BannerSaturation{0};
    double BannerAlpha{0};
    bool BannersUnicornEnabled{false};
    bool AllowSaturation{false};
    bool SpecificAppColor{false};

    bool NotificationCenterEnabled{false};
    double NotificationCenterSaturation{0};
    bool NotificationLayerEnabled{false};
    double NotificationCenterAlpha{0};
    double NotificationCenterHeaderAlpha{0};
    bool AllowSaturationNotification{false};
    bool NotificationUnicornEnabled{false};

    bool LockscreenEnabled{false};
    double LockscreenSaturation{0};
    double LockscreenAlpha{0};
    bool LockscreenBlurEnabled{false};
    bool AllowSaturationLock{false};
    bool LockscreenUnicornEnabled{false};

    bool AutoTextColor{false};
    bool QRKeyboardColor{false};
    bool OnlyHeaders{false};
    bool tavoEffect{false};
    bool EffectToday{false};

    // The dictionary most recently read by any loader; nil when the file was absent.
    platform::runtime::Ref<platform::foundation::NSDictionary> dictionary;
    // Bundle identifier to hex string; nil until a Banner load finds "Specific_App_Color".
    platform::runtime::Ref<platform::foundation::NSMutableDictionary> per_app_colours;
};

using Field = std::variant<bool SettingsState::*, double SettingsState::*>;
// The variable that holds a key; monostate-free: every key of the table has one.
Field field_of(std::string_view key);

// The process's settings state.
SettingsState& state();

} // namespace zimtone::settings
