// The Banner page: banner settings and the test banner command.
#pragma once

#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

class Zimtone2BannerSettings : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2BannerSettings() : SettingsPage(Page::Banner, "Zimtone2Banner") {}
    void testBanner();
};

} // namespace zimtone::prefs
