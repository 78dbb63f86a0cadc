// The Notification Center page; every one of its keys asks for a restart.
#pragma once

#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

class Zimtone2NotificationSettings : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2NotificationSettings() : SettingsPage(Page::NotificationCenter, "Zimtone2NotificationCenter") {}
};

} // namespace zimtone::prefs
