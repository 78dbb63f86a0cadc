// The made-up notifications the pane asks for, and the restart of the home screen.
#pragma once

#include "platform/foundation/NotifyCenter.h"

namespace zimtone::tweak {

using platform::foundation::CFDictionaryRef;
using platform::foundation::CFNotificationCenterRef;
using platform::foundation::CFStringRef;

inline constexpr const char* kTestTitle = "Zimtone 2";
inline constexpr const char* kTestCredit = "Created by Mossglint";
inline constexpr const char* kTestBulletinID = "org.quillhaven.zimtone2";
inline constexpr uint64_t kBulletinFeed = 2;

void showTestBanner(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);
void showTestLockscreenBanner(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);
void respring(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef);

} // namespace zimtone::tweak
