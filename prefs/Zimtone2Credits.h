// The credits page: a tapped credit row opens the person's profile in the best Twitter client.
#pragma once

#include "platform/preferences/PSIndexPath.h"
#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

class Zimtone2Credits : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2Credits() : SettingsPage(Page::Root, "Zimtone2Credit") {}

    void tableViewDidSelectRowAtIndexPath(Object* table, platform::preferences::PSIndexPath* path);
    void follow(platform::foundation::NSString* screen_name);
};

} // namespace zimtone::prefs
