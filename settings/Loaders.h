// The four settings loaders: each rereads the whole settings file and refreshes its group.
#pragma once

#include "platform/foundation/NotifyCenter.h"
#include "settings/Keys.h"
#include "settings/SettingsState.h"

namespace zimtone::settings {

using platform::foundation::CFDictionaryRef;
using platform::foundation::CFNotificationCenterRef;
using platform::foundation::CFStringRef;

// Refreshes one group of the state from a dictionary read from the file (nil when absent).
void apply_group(SettingsState& s, Group group, const platform::foundation::NSDictionary* dictionary);
// Reads the file, makes it the settings dictionary and refreshes one group.
void load_group(Group group);

// Darwin notification callbacks; every argument is ignored.
void loadBannerSettings(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);
void loadNotificationCenterSettings(CFNotificationCenterRef, void*, CFStringRef, const void*,
                                    CFDictionaryRef);
void loadLockscreenSettings(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);
void loadRequests(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);

} // namespace zimtone::settings
