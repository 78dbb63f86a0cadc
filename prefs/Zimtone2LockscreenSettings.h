// The Lockscreen page: lock-screen settings and the test lock-screen notification command.
#pragma once

#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

class Zimtone2LockscreenSettings : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2LockscreenSettings() : SettingsPage(Page::Lockscreen, "Zimtone2Lockscreen") {}
    void testLockscreenBanner();
};

} // namespace zimtone::prefs
