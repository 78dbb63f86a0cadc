// The root page: links to the settings pages, the heart (share) button and the "Respring"
// button that the settings pages ask for.
#pragma once

#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

inline constexpr const char* kHeartImage = "/Library/PreferenceBundles/Zimtone2.bundle/heart.png";
inline constexpr const char* kShareText = "Check out Zimtone 2 on Cydia, it rocks! #Zimtone2 @mossglint";
inline constexpr const char* kShareLink = "cydia://package/org.quillhaven.zimtone2";

class Zimtone2ListController : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2ListController() : SettingsPage(Page::Root, "Zimtone2") {}

    // The rows, and on the first call the navigation bar's heart button.
    Ref<NSArray> specifiers();
    void respringNeededActivate();
    void callRespring();
    void heartBeat();

  private:
    void set_up_navigation_bar();
};

} // namespace zimtone::prefs
