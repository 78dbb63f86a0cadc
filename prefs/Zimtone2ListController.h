// The root page: links to the settings pages, the heart (share) button and the "Respring"
// button that the settings pages ask for.
#pragma once

#include "platform/runtime/NSObject.h"
#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

inline constexpr const char* kHeartImage = "/Library/PreferenceBundles/Zimtone2.bundle/heart.png";
inline constexpr const char* kShareText = "Check out Zimtone 2 on Cydia, it rocks! #Zimtone2 @mossglint";
inline constexpr const char* kShareLink = "cydia://package/org.quillhaven.zimtone2";

class Zimtone2ListController;

// Forwards the heart button's taps to its page without retaining it; the page clears the link
// when it goes, so a button that outlives it does nothing.
class HeartTarget : public platform::runtime::NSObject {
  public:
    static Class runtime_class();
    void heartBeat();

    Zimtone2ListController* page{nullptr};
};

class Zimtone2ListController : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2ListController() : SettingsPage(Page::Root, "Zimtone2") {}
    ~Zimtone2ListController() override;

    // The rows, and on the first call the navigation bar's heart button.
    Ref<NSArray> specifiers();
    void respringNeededActivate();
    void callRespring();
    void heartBeat();

  private:
    void set_up_navigation_bar();

    // The heart button's target. Buttons retain their targets and this page owns the button
    // through its navigation item, so the button must not point at the page itself.
    Ref<HeartTarget> heart_target_;
};

} // namespace zimtone::prefs
