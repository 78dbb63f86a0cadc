// The Requests page: text colour, keyboard and effect switches.
#pragma once

#include "prefs/SettingsPage.h"

namespace zimtone::prefs {

class Zimtone2Requests : public SettingsPage {
  public:
    static Class runtime_class();
    Zimtone2Requests() : SettingsPage(Page::Requests, "Zimtone2Requests") {}
};

} // namespace zimtone::prefs
