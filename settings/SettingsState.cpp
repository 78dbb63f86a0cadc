#include "settings/SettingsState.h"

#include <cstdio>
#include <cstdlib>

namespace zimtone::settings {

SettingsState& state() {
    static auto* s = new SettingsState; // process lifetime, read by every hook
    return *s;
}

Field field_of(std::string_view key) {
#define ZIMTONE_FIELD(name)                                                                                  \
    if (key == #name)                                                                                        \
        return &SettingsState::name;
    ZIMTONE_FIELD(BannersEnabled)
    ZIMTONE_FIELD(BannerSaturation)
    ZIMTONE_FIELD(BannerAlpha)
    ZIMTONE_FIELD(BannersUnicornEnabled)
    ZIMTONE_FIELD(AllowSaturation)
    ZIMTONE_FIELD(SpecificAppColor)
    ZIMTONE_FIELD(NotificationCenterEnabled)
    ZIMTONE_FIELD(NotificationCenterSaturation)
    ZIMTONE_FIELD(NotificationLayerEnabled)
    ZIMTONE_FIELD(NotificationCenterAlpha)
    ZIMTONE_FIELD(NotificationCenterHeaderAlpha)
    ZIMTONE_FIELD(AllowSaturationNotification)
    ZIMTONE_FIELD(NotificationUnicornEnabled)
    ZIMTONE_FIELD(LockscreenEnabled)
    ZIMTONE_FIELD(LockscreenSaturation)
    ZIMTONE_FIELD(LockscreenAlpha)
    ZIMTONE_FIELD(LockscreenBlurEnabled)
    ZIMTONE_FIELD(AllowSaturationLock)
    ZIMTONE_FIELD(LockscreenUnicornEnabled)
    ZIMTONE_FIELD(AutoTextColor)
    ZIMTONE_FIELD(QRKeyboardColor)
    ZIMTONE_FIELD(OnlyHeaders)
    ZIMTONE_FIELD(tavoEffect)
    ZIMTONE_FIELD(EffectToday)
#undef ZIMTONE_FIELD
    // Only reachable with a key outside the table: a programming error, caught by the tests.
    std::fprintf(stderr, "zimtone: no settings variable for key %.*s\n", static_cast<int>(key.size()),
                 key.data());
    std::abort();
}

} // namespace zimtone::settings
